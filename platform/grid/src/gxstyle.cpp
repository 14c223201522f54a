#include "gxstyleparts.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {
const CString kEmpty;
const CGXBrush kDefaultBrush;
const CGXFont kDefaultFont;
const CGXPen kDefaultPen;

LONG ClampToLong(double d)
{
    if (std::isnan(d))
        return 0;
    d = std::trunc(d);
    if (d >= static_cast<double>(INT32_MAX))
        return INT32_MAX;
    if (d <= static_cast<double>(INT32_MIN))
        return INT32_MIN;
    return static_cast<LONG>(d);
}

// A short run of decimal digits with an optional minus sign, the text most attribute numbers are
// stored as: its value without the C library's general parse (which reads such texts the same).
bool PlainDecimal(const CString& s, long long& value)
{
    constexpr int kMostDigits = 15;
    const std::string& text = s.str();
    const bool negative = !text.empty() && text[0] == '-';
    const size_t first = negative ? 1 : 0;
    if (text.size() <= first || text.size() - first > kMostDigits)
        return false;
    long long v = 0;
    for (size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    value = negative ? -v : v;
    return true;
}

LONG ParseLong(const CString& s)
{
    if (s.IsEmpty())
        return 0;
    if (long long v = 0; PlainDecimal(s, v))
        return static_cast<LONG>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
    const char* p = s.GetString();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(p, &end, 10);
    if (end == p)
        return 0;
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return static_cast<LONG>(v);
}

double ParseDouble(const CString& s)
{
    if (s.IsEmpty())
        return 0.0;
    if (long long v = 0; PlainDecimal(s, v) && !(v == 0 && s.str()[0] == '-'))
        return static_cast<double>(v);
    const char* p = s.GetString();
    char* end = nullptr;
    double v = std::strtod(p, &end);
    return end == p ? 0.0 : v;
}

// A number's text as "%.15g" writes it; whole numbers of up to 15 digits (most attribute numbers are
// ids and counts) without going through the formatter.
CString FormatNumber(double d)
{
    constexpr double kWholeLimit = 1e15;
    if (d > -kWholeLimit && d < kWholeLimit && d == static_cast<double>(static_cast<long long>(d)) &&
        !(d == 0 && std::signbit(d))) {
        char buf[24];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(d));
        if (ec == std::errc())
            return CString(std::string_view(buf, static_cast<size_t>(end - buf)));
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    return CString(buf);
}
} // namespace

// ---------------------------------------------------------------- CGXFont
CGXFont& CGXFont::SetFaceName(LPCTSTR face) { return Put(m_face, face, kFace); }
CGXFont& CGXFont::SetBold(BOOL b) { return Put(m_bold, b != FALSE, kBold); }
CGXFont& CGXFont::SetItalic(BOOL b) { return Put(m_italic, b != FALSE, kItalic); }
CGXFont& CGXFont::SetUnderline(BOOL b) { return Put(m_underline, b != FALSE, kUnderline); }
CGXFont& CGXFont::SetSize(double points) { return Put(m_size, points, kSize); }

void CGXFont::ChangeFont(const CGXFont& src, GXModifyType mt)
{
    switch (mt) {
    case gxCopy:
        *this = src;
        return;
    case gxRemove:
        *this = CGXFont();
        return;
    case gxExclude:
        m_mask &= ~src.m_mask;
        return;
    case gxOverride:
    case gxApplyNew: {
        unsigned bits = mt == gxOverride ? src.m_mask : (src.m_mask & ~m_mask);
        if (bits & kFace)
            m_face = src.m_face;
        if (bits & kBold)
            m_bold = src.m_bold;
        if (bits & kItalic)
            m_italic = src.m_italic;
        if (bits & kUnderline)
            m_underline = src.m_underline;
        if (bits & kSize)
            m_size = src.m_size;
        m_mask |= bits;
        return;
    }
    }
}

bool operator==(const CGXFont& a, const CGXFont& b)
{
    if (a.m_mask != b.m_mask)
        return false;
    return (!(a.m_mask & CGXFont::kFace) || a.m_face == b.m_face) &&
           (!(a.m_mask & CGXFont::kBold) || a.m_bold == b.m_bold) &&
           (!(a.m_mask & CGXFont::kItalic) || a.m_italic == b.m_italic) &&
           (!(a.m_mask & CGXFont::kUnderline) || a.m_underline == b.m_underline) &&
           (!(a.m_mask & CGXFont::kSize) || a.m_size == b.m_size);
}

// ---------------------------------------------------------------- user attributes
const CString& CGXAbstractUserAttribute::GetValue() const { return m_strValue; }
void CGXAbstractUserAttribute::SetValue(LPCTSTR pszValue) { m_strValue = pszValue; }
LONG CGXAbstractUserAttribute::GetLongValue() const { return ParseLong(GetValue()); }
double CGXAbstractUserAttribute::GetDoubleValue() const { return ParseDouble(GetValue()); }
BOOL CGXAbstractUserAttribute::IsEqual(const CGXAbstractUserAttribute& other) const
{
    return GetValue() == other.GetValue();
}

const CString& CGXUserAttribute::GetValue() const
{
    if (m_bTextStale) {
        m_strValue = FormatNumber(m_dValue);
        m_bTextStale = false;
    }
    return m_strValue;
}

void CGXUserAttribute::SetValue(LPCTSTR pszValue)
{
    m_strValue = pszValue;
    m_bNumber = false;
    m_bTextStale = false;
    m_dValue = 0;
}

void CGXUserAttribute::SetNumber(double value)
{
    m_dValue = value;
    m_bNumber = true;
    m_bTextStale = true;
}

LONG CGXUserAttribute::GetLongValue() const { return m_bNumber ? ClampToLong(m_dValue) : ParseLong(m_strValue); }
double CGXUserAttribute::GetDoubleValue() const { return m_bNumber ? m_dValue : ParseDouble(m_strValue); }

BOOL CGXUserAttribute::IsEqual(const CGXAbstractUserAttribute& other) const
{
    auto* o = dynamic_cast<const CGXUserAttribute*>(&other);
    if (!o)
        return FALSE;
    if (m_bNumber != o->m_bNumber)
        return FALSE;
    return m_bNumber ? m_dValue == o->m_dValue : m_strValue == o->m_strValue;
}

const CString& CGXEllipseUserAttribute::GetValue() const
{
    static const CString kNames[] = {CString("0"), CString("1"), CString("2")};
    return m_nType >= 0 && m_nType <= 2 ? kNames[m_nType] : kEmpty;
}

BOOL CGXEllipseUserAttribute::IsEqual(const CGXAbstractUserAttribute& other) const
{
    auto* o = dynamic_cast<const CGXEllipseUserAttribute*>(&other);
    return o && o->m_nType == m_nType;
}

// ---------------------------------------------------------------- CGXStyle
CGXStyle::CGXStyle(const CGXStyle& o)
    : m_mask(o.m_mask), m_flags(o.m_flags), m_horz(o.m_horz), m_vert(o.m_vert), m_frame(o.m_frame),
      m_control(o.m_control), m_baseStyle(o.m_baseStyle), m_merge(o.m_merge), m_maxLength(o.m_maxLength),
      m_textColor(o.m_textColor), m_value(o.m_value)
{
    ShareFrom(o);
}

CGXStyle::~CGXStyle() { ReleaseShared(); }

CGXStyle& CGXStyle::operator=(const CGXStyle& o)
{
    if (this == &o)
        return *this;
    CopyPlainMembers(o);
    m_value = o.m_value;
    ShareFrom(o);
    return *this;
}

void CGXStyle::ShareFrom(const CGXStyle& o)
{
    if (o.m_ext)
        ++o.m_ext->refs;
    if (o.m_uas)
        ++o.m_uas->refs;
    ReleaseShared();
    m_ext = o.m_ext;
    m_uas = o.m_uas;
}

void CGXStyle::ReleaseShared()
{
    if (m_ext && --m_ext->refs == 0)
        delete m_ext;
    m_ext = nullptr;
    UAList::Release(std::exchange(m_uas, nullptr));
}

void CGXStyle::Free()
{
    m_mask = 0;
    m_flags = 0;
    m_value.Empty();
    ReleaseShared();
}

BOOL CGXStyle::IsEmpty() const { return m_mask == 0 && (!m_uas || m_uas->size == 0); }

CGXStyle::Ext& CGXStyle::ext()
{
    if (!m_ext) {
        m_ext = new Ext;
    } else if (m_ext->refs > 1) { // copy on write
        Ext* copy = new Ext(*m_ext);
        copy->refs = 1;
        --m_ext->refs;
        m_ext = copy;
    }
    return *m_ext;
}

void CGXStyle::ChangeStyle(const CGXStyle& src, GXModifyType mt)
{
    if (&src == this)
        return;
    switch (mt) {
    case gxCopy:
        *this = src;
        return;
    case gxRemove:
        Free();
        return;
    case gxExclude: {
        m_mask &= ~src.m_mask;
        if (src.m_uas && m_uas)
            for (const UAList::Entry& e : *src.m_uas)
                RemoveUserAttribute(e.id);
        if (!(m_mask & kValue))
            m_value.Empty();
        return;
    }
    case gxOverride:
    case gxApplyNew:
        Merge(src, mt == gxOverride);
        return;
    }
}

void CGXStyle::Merge(const CGXStyle& src, bool over)
{
    uint32_t bits = over ? src.m_mask : (src.m_mask & ~m_mask);
    // Fonts merge attribute by attribute, whatever the mode.
    const bool fontMerge = (src.m_mask & kFont) && (m_mask & kFont);
    bits &= ~kFont;
    CopyPlainAttributes(src, bits);
    if (src.m_mask & kExtMask)
        MergeExt(src, bits, fontMerge, over ? gxOverride : gxApplyNew);
    m_mask |= bits;
    MergeUserAttributes(src, over);
}

void CGXStyle::MergeIntoNew(const CGXStyle& src)
{
    const uint32_t bits = src.m_mask;
    // A style holding something, or a source whose extension Merge would not share (missing, or with
    // a font, which merges attribute by attribute), takes the general way.
    if (m_mask || m_ext || m_uas || ((bits & kExtMask) && (!src.m_ext || (bits & kFont)))) {
        Merge(src, true);
        return;
    }
    CopyPlainAttributes(src, bits);
    m_mask = bits;
    if (bits & kExtMask) {
        ++src.m_ext->refs; // shared until one side changes it
        m_ext = src.m_ext;
    }
    if (src.m_uas && src.m_uas->size) {
        ++src.m_uas->refs;
        m_uas = src.m_uas;
    }
}

// The attributes kept inline (all but the extension and the user attributes) that bits names.
inline void CGXStyle::CopyPlainAttributes(const CGXStyle& src, uint32_t bits)
{
    if (bits & kValue)
        m_value = src.m_value;
    if (bits & kControl)
        m_control = src.m_control;
    if (bits & kBaseStyle)
        m_baseStyle = src.m_baseStyle;
    // The flag bits kReadOnly..kAutoSize are fReadOnly..fAutoSize shifted.
    static_assert(kReadOnly >> 3 == fReadOnly && kEnabled >> 3 == fEnabled && kWrapText >> 3 == fWrapText &&
                  kAutoSize >> 3 == fAutoSize);
    const auto flags = static_cast<uint8_t>((bits >> 3) & (fReadOnly | fEnabled | fWrapText | fAutoSize));
    m_flags = static_cast<uint8_t>((m_flags & ~flags) | (src.m_flags & flags));
    if (bits & (kHorz | kVert | kTextColor | kMerge | kFrame | kMaxLength)) {
        if (bits & kHorz)
            m_horz = src.m_horz;
        if (bits & kVert)
            m_vert = src.m_vert;
        if (bits & kTextColor)
            m_textColor = src.m_textColor;
        if (bits & kMerge)
            m_merge = src.m_merge;
        if (bits & kFrame)
            m_frame = src.m_frame;
        if (bits & kMaxLength)
            m_maxLength = src.m_maxLength;
    }
}

void CGXStyle::MergeExt(const CGXStyle& src, uint32_t bits, bool fontMerge, GXModifyType mt)
{
    const uint32_t srcExt = src.m_mask & kExtMask;
    if (src.m_ext && !m_ext && (bits & srcExt) == srcExt && !fontMerge) {
        // Nothing of our own to keep: share the source's extension (copied only if changed later).
        ++src.m_ext->refs;
        m_ext = src.m_ext;
        m_mask |= src.m_mask & kFont;
        return;
    }
    if ((bits & kExtMask) && src.m_ext) {
        Ext& e = ext();
        const Ext& s = *src.m_ext;
        if (bits & kInterior)
            e.interior = s.interior;
        for (int b = 0; b < 4; ++b)
            if (bits & BorderBit(b))
                e.borders[b] = s.borders[b];
        if (bits & kChoiceList)
            e.choiceList = s.choiceList;
    }
    if (src.m_mask & kFont) {
        if (fontMerge)
            ext().font.ChangeFont(src.GetFont(), mt);
        else
            ext().font = src.GetFont();
        m_mask |= kFont;
    }
}

bool operator==(const CGXStyle& a, const CGXStyle& b)
{
    using S = CGXStyle;
    if (a.m_mask != b.m_mask)
        return false;
    const uint32_t m = a.m_mask;
    if ((m & S::kValue) && a.m_value != b.m_value)
        return false;
    if ((m & S::kControl) && a.m_control != b.m_control)
        return false;
    if ((m & S::kBaseStyle) && a.m_baseStyle != b.m_baseStyle)
        return false;
    if ((m & S::kReadOnly) && a.GetReadOnly() != b.GetReadOnly())
        return false;
    if ((m & S::kEnabled) && a.GetEnabled() != b.GetEnabled())
        return false;
    if ((m & S::kWrapText) && a.GetWrapText() != b.GetWrapText())
        return false;
    if ((m & S::kAutoSize) && a.GetAutoSize() != b.GetAutoSize())
        return false;
    if ((m & S::kHorz) && a.m_horz != b.m_horz)
        return false;
    if ((m & S::kVert) && a.m_vert != b.m_vert)
        return false;
    if ((m & S::kTextColor) && a.m_textColor != b.m_textColor)
        return false;
    if ((m & S::kMerge) && a.m_merge != b.m_merge)
        return false;
    if ((m & S::kFrame) && a.m_frame != b.m_frame)
        return false;
    if ((m & S::kMaxLength) && a.m_maxLength != b.m_maxLength)
        return false;
    if ((m & S::kInterior) && a.GetInterior() != b.GetInterior())
        return false;
    if ((m & S::kFont) && a.GetFont() != b.GetFont())
        return false;
    for (int i = 0; i < 4; ++i)
        if ((m & S::BorderBit(i)) && a.GetBorders(static_cast<GXBorderType>(i)) != b.GetBorders(static_cast<GXBorderType>(i)))
            return false;
    if ((m & S::kChoiceList) && a.GetChoiceList() != b.GetChoiceList())
        return false;
    if (a.GetUserAttributeCount() != b.GetUserAttributeCount())
        return false;
    if (a.m_uas && b.m_uas && a.m_uas != b.m_uas) {
        const S::UAList::Entry* y = b.m_uas->begin();
        for (const S::UAList::Entry& x : *a.m_uas) {
            if (x.id != y->id || !x.value->IsEqual(*y->value))
                return false;
            ++y;
        }
    }
    return true;
}

// Value
CGXStyle& CGXStyle::SetValue(LPCTSTR s) { return Put(m_value, s, kValue); }
CGXStyle& CGXStyle::SetValue(const CString& s) { return Put(m_value, s, kValue); }
CGXStyle& CGXStyle::SetValue(const char* s, int len) { return Put(m_value, CString(s, len), kValue); }
CGXStyle& CGXStyle::SetValue(double d) { return SetValue(FormatNumber(d)); }
CGXStyle& CGXStyle::SetValue(long n)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld", n);
    return SetValue(buf);
}
CGXStyle& CGXStyle::SetValue(DWORD n)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lu", static_cast<unsigned long>(n));
    return SetValue(buf);
}
LONG CGXStyle::GetLongValue() const { return ParseLong(m_value); }
double CGXStyle::GetDoubleValue() const { return ParseDouble(m_value); }
CGXStyle& CGXStyle::SetIncludeValue(BOOL b)
{
    if (!b)
        m_value.Empty();
    return Include(kValue, b);
}

CGXStyle& CGXStyle::SetControl(WORD nID) { return Put(m_control, nID, kControl); }
CGXStyle& CGXStyle::SetBaseStyle(WORD nID) { return Put(m_baseStyle, nID, kBaseStyle); }
CGXStyle& CGXStyle::SetHorizontalAlignment(DWORD a) { return Put(m_horz, a, kHorz); }
CGXStyle& CGXStyle::SetVerticalAlignment(DWORD a) { return Put(m_vert, a, kVert); }
CGXStyle& CGXStyle::SetTextColor(COLORREF c) { return Put(m_textColor, c, kTextColor); }
CGXStyle& CGXStyle::SetMergeCell(unsigned mode) { return Put(m_merge, mode, kMerge); }
CGXStyle& CGXStyle::SetDraw3dFrame(GXDraw3dFrameType t) { return Put(m_frame, t, kFrame); }
CGXStyle& CGXStyle::SetMaxLength(WORD n) { return Put(m_maxLength, n, kMaxLength); }

CGXStyle& CGXStyle::SetInterior(const CGXBrush& brush) { return Put(ext().interior, brush, kInterior); }
const CGXBrush& CGXStyle::GetInterior() const { return m_ext ? m_ext->interior : kDefaultBrush; }

CGXStyle& CGXStyle::SetFont(const CGXFont& font, GXModifyType mt)
{
    if (Has(kFont))
        ext().font.ChangeFont(font, mt);
    else
        ext().font = font;
    m_mask |= kFont;
    return *this;
}
const CGXFont& CGXStyle::GetFont() const { return m_ext ? m_ext->font : kDefaultFont; }
CGXStyle& CGXStyle::SetIncludeFont(BOOL b)
{
    if (!b && m_ext)
        ext().font = CGXFont();
    return Include(kFont, b);
}

CGXStyle& CGXStyle::SetBorders(GXBorderType border, const CGXPen& pen)
{
    Ext& e = ext();
    if (border == gxBorderAll) {
        for (int i = 0; i < 4; ++i)
            e.borders[i] = pen;
        m_mask |= kBordersAll;
    } else if (border >= gxBorderTop && border <= gxBorderRight) {
        e.borders[border] = pen;
        m_mask |= BorderBit(border);
    }
    return *this;
}
const CGXPen& CGXStyle::GetBorders(GXBorderType border) const
{
    if (!m_ext || border < gxBorderTop || border > gxBorderRight)
        return kDefaultPen;
    return m_ext->borders[border];
}
BOOL CGXStyle::GetIncludeBorders(GXBorderType border) const
{
    if (border == gxBorderAll)
        return (m_mask & kBordersAll) == kBordersAll;
    if (border < gxBorderTop || border > gxBorderRight)
        return FALSE;
    return Has(BorderBit(border));
}
CGXStyle& CGXStyle::SetIncludeBorders(GXBorderType border, BOOL b)
{
    if (border == gxBorderAll)
        return Include(kBordersAll, b);
    if (border < gxBorderTop || border > gxBorderRight)
        return *this;
    return Include(BorderBit(border), b);
}

CGXStyle& CGXStyle::SetChoiceList(LPCTSTR list) { return Put(ext().choiceList, list, kChoiceList); }
const CString& CGXStyle::GetChoiceList() const { return m_ext ? m_ext->choiceList : kEmpty; }
CGXStyle& CGXStyle::SetIncludeChoiceList(BOOL b)
{
    if (!b && m_ext)
        ext().choiceList.Empty();
    return Include(kChoiceList, b);
}
