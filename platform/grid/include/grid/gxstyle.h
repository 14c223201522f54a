// Cell styles: the attributes of a cell, each present or absent, and user attributes by number.
#pragma once

#include "grid/gxtypes.h"

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

// A font description. Each attribute is present or absent so that fonts merge attribute by attribute.
class CGXFont {
public:
    CGXFont& SetFaceName(LPCTSTR face);
    CGXFont& SetBold(BOOL b);
    CGXFont& SetItalic(BOOL b);
    CGXFont& SetUnderline(BOOL b);
    CGXFont& SetSize(double points);
    CGXFont& SetWeight(LONG weight) { return SetBold(weight >= 700); }

    const CString& GetFaceName() const { return m_face; }
    BOOL GetBold() const { return m_bold; }
    BOOL GetItalic() const { return m_italic; }
    BOOL GetUnderline() const { return m_underline; }
    double GetSize() const { return m_size; }
    LONG GetWeight() const { return m_bold ? 700 : 400; }

    BOOL GetIncludeFaceName() const { return (m_mask & kFace) != 0; }
    BOOL GetIncludeBold() const { return (m_mask & kBold) != 0; }
    BOOL GetIncludeItalic() const { return (m_mask & kItalic) != 0; }
    BOOL GetIncludeUnderline() const { return (m_mask & kUnderline) != 0; }
    BOOL GetIncludeSize() const { return (m_mask & kSize) != 0; }
    CGXFont& SetIncludeFaceName(BOOL b) { return Include(kFace, b); }
    CGXFont& SetIncludeBold(BOOL b) { return Include(kBold, b); }
    CGXFont& SetIncludeItalic(BOOL b) { return Include(kItalic, b); }
    CGXFont& SetIncludeUnderline(BOOL b) { return Include(kUnderline, b); }
    CGXFont& SetIncludeSize(BOOL b) { return Include(kSize, b); }
    BOOL IsEmpty() const { return m_mask == 0; }

    void ChangeFont(const CGXFont& src, GXModifyType mt);
    friend bool operator==(const CGXFont& a, const CGXFont& b);
    friend bool operator!=(const CGXFont& a, const CGXFont& b) { return !(a == b); }

private:
    enum : unsigned { kFace = 1, kBold = 2, kItalic = 4, kUnderline = 8, kSize = 16 };
    CGXFont& Include(unsigned bit, BOOL b)
    {
        m_mask = b ? (m_mask | bit) : (m_mask & ~bit);
        return *this;
    }
    // Stores an attribute and marks it as set.
    template <class F, class V>
    CGXFont& Put(F& field, V&& v, unsigned bit)
    {
        field = static_cast<F>(std::forward<V>(v));
        m_mask |= bit;
        return *this;
    }
    CString m_face;
    double m_size = 0;
    unsigned m_mask = 0;
    bool m_bold = false, m_italic = false, m_underline = false;
};

// A fill: solid colour, or a hatch of a foreground colour over a background colour.
class CGXBrush {
public:
    CGXBrush() = default;
    explicit CGXBrush(COLORREF color) { SetColor(color); }
    CGXBrush(int nHatch, COLORREF fore, COLORREF back) { SetPattern(nHatch).SetColor(fore).SetBkColor(back); }

    CGXBrush& SetColor(COLORREF c)
    {
        m_color = c;
        return *this;
    }
    CGXBrush& SetBkColor(COLORREF c)
    {
        m_bkColor = c;
        return *this;
    }
    CGXBrush& SetStyle(int style)
    {
        m_style = style;
        return *this;
    }
    // A hatch pattern (HS_*); makes the brush hatched.
    CGXBrush& SetPattern(int nHatch)
    {
        m_hatch = nHatch;
        m_style = BS_HATCHED;
        return *this;
    }
    CGXBrush& SetHatch(int nHatch) { return SetPattern(nHatch); }

    COLORREF GetColor() const { return m_color; }
    COLORREF GetBkColor() const { return m_bkColor; }
    int GetStyle() const { return m_style; }
    int GetHatch() const { return m_hatch; }
    BOOL IsHatched() const { return m_style == BS_HATCHED; }
    BOOL IsSolid() const { return m_style == BS_SOLID; }

    friend bool operator==(const CGXBrush& a, const CGXBrush& b)
    {
        return a.m_color == b.m_color && a.m_bkColor == b.m_bkColor && a.m_style == b.m_style && a.m_hatch == b.m_hatch;
    }
    friend bool operator!=(const CGXBrush& a, const CGXBrush& b) { return !(a == b); }

private:
    COLORREF m_color = RGB(255, 255, 255);
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_style = BS_SOLID;
    int m_hatch = 0;
};

// A line: style (PS_*), width and colour.
class CGXPen {
public:
    CGXPen() = default;
    CGXPen(int style, int width = 1, COLORREF color = RGB(0, 0, 0)) : m_style(style), m_width(width), m_color(color) {}
    CGXPen& SetStyle(int s)
    {
        m_style = s;
        return *this;
    }
    CGXPen& SetWidth(int w)
    {
        m_width = w;
        return *this;
    }
    CGXPen& SetColor(COLORREF c)
    {
        m_color = c;
        return *this;
    }
    int GetStyle() const { return m_style; }
    int GetWidth() const { return m_width; }
    COLORREF GetColor() const { return m_color; }
    BOOL IsVisible() const { return m_style != PS_NULL && m_width > 0; }
    friend bool operator==(const CGXPen& a, const CGXPen& b)
    {
        return a.m_style == b.m_style && a.m_width == b.m_width && a.m_color == b.m_color;
    }
    friend bool operator!=(const CGXPen& a, const CGXPen& b) { return !(a == b); }

private:
    int m_style = PS_SOLID;
    int m_width = 1;
    COLORREF m_color = RGB(0, 0, 0);
};

// A value stored under a user-attribute number. An absent attribute reads as the empty text and 0.
class CGXAbstractUserAttribute {
public:
    virtual ~CGXAbstractUserAttribute() = default;
    virtual CGXAbstractUserAttribute* Clone() const = 0;
    virtual const CString& GetValue() const;
    virtual void SetValue(LPCTSTR pszValue);
    virtual DWORD GetDWordValue() const { return static_cast<DWORD>(GetLongValue()); }
    virtual LONG GetLongValue() const;
    virtual double GetDoubleValue() const;
    virtual BOOL IsEmpty() const { return GetValue().IsEmpty(); }
    virtual BOOL IsEqual(const CGXAbstractUserAttribute& other) const;

protected:
    CGXAbstractUserAttribute() = default;
    // A copy is a new object: no style holds it yet.
    CGXAbstractUserAttribute(const CGXAbstractUserAttribute& other) : m_strValue(other.m_strValue) {}
    CGXAbstractUserAttribute& operator=(const CGXAbstractUserAttribute& other)
    {
        m_strValue = other.m_strValue;
        return *this;
    }

    mutable CString m_strValue; // a number's text is made when first read

private:
    friend class CGXStyle;
    mutable unsigned m_nHolders = 0; // attribute lists (and value pools) holding the object
};

// The plain attribute: a text or a number. A number is kept as a double and read truncated.
class CGXUserAttribute : public CGXAbstractUserAttribute {
public:
    CGXUserAttribute() = default;
    explicit CGXUserAttribute(LPCTSTR text) { SetValue(text); }
    explicit CGXUserAttribute(double value) { SetNumber(value); }

    CGXAbstractUserAttribute* Clone() const override { return new CGXUserAttribute(*this); }
    const CString& GetValue() const override;
    void SetValue(LPCTSTR pszValue) override;
    void SetNumber(double value);
    BOOL IsNumber() const { return m_bNumber; }
    LONG GetLongValue() const override;
    double GetDoubleValue() const override;
    BOOL IsEmpty() const override { return !m_bNumber && m_strValue.IsEmpty(); }
    BOOL IsEqual(const CGXAbstractUserAttribute& other) const override;

private:
    double m_dValue = 0;
    bool m_bNumber = false;
    mutable bool m_bTextStale = false; // a number whose text has not been read yet
};

// How text that does not fit ends: nothing, "..." or "###".
class CGXEllipseUserAttribute : public CGXAbstractUserAttribute {
public:
    explicit CGXEllipseUserAttribute(int type = gxDotEllipse) : m_nType(type) {}
    CGXAbstractUserAttribute* Clone() const override { return new CGXEllipseUserAttribute(*this); }
    const CString& GetValue() const override;
    LONG GetLongValue() const override { return m_nType; }
    double GetDoubleValue() const override { return m_nType; }
    BOOL IsEmpty() const override { return FALSE; }
    BOOL IsEqual(const CGXAbstractUserAttribute& other) const override;
    int GetEllipseType() const { return m_nType; }
    void SetEllipseType(int type) { m_nType = type; }

private:
    int m_nType;
};

// The attributes of a cell (or of a row, a column, the table or a base style). Every attribute is
// either present ("included") or absent; composition fills absent attributes from the styles behind.
// The common attributes live inline; fonts, brushes, pens, choice lists and user attributes live in
// an extension that exists only when one of them is set, so a plain value cell stays small.
class CGXStyle {
public:
    CGXStyle() = default;
    CGXStyle(const CGXStyle& other);
    // Moves are inline: rows of cells move their styles along when a cell goes in between.
    CGXStyle(CGXStyle&& o) noexcept
        : m_mask(o.m_mask), m_flags(o.m_flags), m_horz(o.m_horz), m_vert(o.m_vert), m_frame(o.m_frame),
          m_control(o.m_control), m_baseStyle(o.m_baseStyle), m_merge(o.m_merge), m_maxLength(o.m_maxLength),
          m_textColor(o.m_textColor), m_value(std::move(o.m_value)), m_ext(std::exchange(o.m_ext, nullptr)),
          m_uas(std::exchange(o.m_uas, nullptr))
    {
    }
    CGXStyle& operator=(const CGXStyle& other);
    CGXStyle& operator=(CGXStyle&& o) noexcept
    {
        if (this == &o)
            return *this;
        CopyPlainMembers(o);
        m_value = std::move(o.m_value);
        if (m_ext || m_uas)
            ReleaseShared();
        m_ext = std::exchange(o.m_ext, nullptr);
        m_uas = std::exchange(o.m_uas, nullptr);
        return *this;
    }
    virtual ~CGXStyle();

    virtual CGXStyle* Clone() const { return new CGXStyle(*this); }
    void Free(); // removes every attribute
    BOOL IsEmpty() const;

    // Merges src into this style (see GXModifyType).
    void ChangeStyle(const CGXStyle& src, GXModifyType mt);
    // The same as ChangeStyle(src, gxOverride) on a style as new (default-constructed, nothing set), in one
    // step: src's attributes are taken as they are, its extension and user attributes shared.
    void MergeIntoNew(const CGXStyle& src);
    friend bool operator==(const CGXStyle& a, const CGXStyle& b);
    friend bool operator!=(const CGXStyle& a, const CGXStyle& b) { return !(a == b); }

    // Value
    CGXStyle& SetValue(LPCTSTR s);
    CGXStyle& SetValue(const CString& s);
    CGXStyle& SetValue(const char* s, int len);
    CGXStyle& SetValue(double d);
    CGXStyle& SetValue(int n) { return SetValue(static_cast<long>(n)); }
    CGXStyle& SetValue(long n);
    CGXStyle& SetValue(DWORD n);
    const CString& GetValue() const { return m_value; }
    CString& GetValueRef() { return m_value; }
    LONG GetLongValue() const;
    double GetDoubleValue() const;
    BOOL GetIncludeValue() const { return Has(kValue); }
    CGXStyle& SetIncludeValue(BOOL b);

    // Cell control
    CGXStyle& SetControl(WORD nID);
    WORD GetControl() const { return m_control; }
    BOOL GetIncludeControl() const { return Has(kControl); }
    CGXStyle& SetIncludeControl(BOOL b) { return Include(kControl, b); }

    // Base style
    CGXStyle& SetBaseStyle(WORD nID);
    WORD GetBaseStyle() const { return m_baseStyle; }
    BOOL GetIncludeBaseStyle() const { return Has(kBaseStyle); }
    CGXStyle& SetIncludeBaseStyle(BOOL b) { return Include(kBaseStyle, b); }

    // Flags
    CGXStyle& SetReadOnly(BOOL b) { return SetFlag(kReadOnly, fReadOnly, b); }
    BOOL GetReadOnly() const { return Flag(fReadOnly); }
    BOOL GetIncludeReadOnly() const { return Has(kReadOnly); }
    CGXStyle& SetIncludeReadOnly(BOOL b) { return Include(kReadOnly, b); }
    CGXStyle& SetEnabled(BOOL b) { return SetFlag(kEnabled, fEnabled, b); }
    BOOL GetEnabled() const { return Flag(fEnabled); }
    BOOL GetIncludeEnabled() const { return Has(kEnabled); }
    CGXStyle& SetIncludeEnabled(BOOL b) { return Include(kEnabled, b); }
    CGXStyle& SetWrapText(BOOL b) { return SetFlag(kWrapText, fWrapText, b); }
    BOOL GetWrapText() const { return Flag(fWrapText); }
    BOOL GetIncludeWrapText() const { return Has(kWrapText); }
    CGXStyle& SetIncludeWrapText(BOOL b) { return Include(kWrapText, b); }
    CGXStyle& SetAutoSize(BOOL b) { return SetFlag(kAutoSize, fAutoSize, b); }
    BOOL GetAutoSize() const { return Flag(fAutoSize); }
    BOOL GetIncludeAutoSize() const { return Has(kAutoSize); }
    CGXStyle& SetIncludeAutoSize(BOOL b) { return Include(kAutoSize, b); }

    // Alignment (DT_LEFT/DT_CENTER/DT_RIGHT, DT_TOP/DT_VCENTER/DT_BOTTOM)
    CGXStyle& SetHorizontalAlignment(DWORD a);
    DWORD GetHorizontalAlignment() const { return m_horz; }
    BOOL GetIncludeHorizontalAlignment() const { return Has(kHorz); }
    CGXStyle& SetIncludeHorizontalAlignment(BOOL b) { return Include(kHorz, b); }
    CGXStyle& SetVerticalAlignment(DWORD a);
    DWORD GetVerticalAlignment() const { return m_vert; }
    BOOL GetIncludeVerticalAlignment() const { return Has(kVert); }
    CGXStyle& SetIncludeVerticalAlignment(BOOL b) { return Include(kVert, b); }

    // Text colour
    CGXStyle& SetTextColor(COLORREF c);
    COLORREF GetTextColor() const { return m_textColor; }
    BOOL GetIncludeTextColor() const { return Has(kTextColor); }
    CGXStyle& SetIncludeTextColor(BOOL b) { return Include(kTextColor, b); }

    // Merge cells and 3-D frame
    CGXStyle& SetMergeCell(unsigned mode);
    unsigned GetMergeCell() const { return m_merge; }
    BOOL GetIncludeMergeCell() const { return Has(kMerge); }
    CGXStyle& SetIncludeMergeCell(BOOL b) { return Include(kMerge, b); }
    CGXStyle& SetDraw3dFrame(GXDraw3dFrameType t);
    GXDraw3dFrameType GetDraw3dFrame() const { return static_cast<GXDraw3dFrameType>(m_frame); }
    BOOL GetIncludeDraw3dFrame() const { return Has(kFrame); }
    CGXStyle& SetIncludeDraw3dFrame(BOOL b) { return Include(kFrame, b); }

    // Maximum text length (0 = unlimited)
    CGXStyle& SetMaxLength(WORD n);
    WORD GetMaxLength() const { return m_maxLength; }
    BOOL GetIncludeMaxLength() const { return Has(kMaxLength); }
    CGXStyle& SetIncludeMaxLength(BOOL b) { return Include(kMaxLength, b); }

    // Interior
    CGXStyle& SetInterior(const CGXBrush& brush);
    CGXStyle& SetInterior(COLORREF color) { return SetInterior(CGXBrush(color)); }
    const CGXBrush& GetInterior() const;
    BOOL GetIncludeInterior() const { return Has(kInterior); }
    CGXStyle& SetIncludeInterior(BOOL b) { return Include(kInterior, b); }

    // Font (merged attribute by attribute)
    CGXStyle& SetFont(const CGXFont& font, GXModifyType mt = gxOverride);
    const CGXFont& GetFont() const;
    BOOL GetIncludeFont() const { return Has(kFont); }
    CGXStyle& SetIncludeFont(BOOL b);

    // Borders (one pen per side; gxBorderAll sets all four)
    CGXStyle& SetBorders(GXBorderType border, const CGXPen& pen);
    const CGXPen& GetBorders(GXBorderType border) const;
    BOOL GetIncludeBorders(GXBorderType border) const;
    BOOL GetIncludeBorders() const { return (m_mask & kBordersAll) != 0; }
    CGXStyle& SetIncludeBorders(GXBorderType border, BOOL b);

    // Choice list ("a\nb\nc")
    CGXStyle& SetChoiceList(LPCTSTR list);
    const CString& GetChoiceList() const;
    BOOL GetIncludeChoiceList() const { return Has(kChoiceList); }
    CGXStyle& SetIncludeChoiceList(BOOL b);

    // User attributes by number. Texts and numbers are stored in a CGXUserAttribute (a number as a
    // double); SetUserAttributePtr takes ownership of the object. Stored attribute objects are not changed
    // afterwards, so copies of a style share them. An absent attribute reads as "" and 0.
    CGXStyle& SetUserAttribute(WORD nID, LPCTSTR text);
    CGXStyle& SetUserAttribute(WORD nID, const CString& text) { return SetUserAttribute(nID, text.GetString()); }
    CGXStyle& SetUserAttribute(WORD nID, double value);
    CGXStyle& SetUserAttribute(WORD nID, int value) { return SetUserAttribute(nID, static_cast<double>(value)); }
    CGXStyle& SetUserAttribute(WORD nID, long value) { return SetUserAttribute(nID, static_cast<double>(value)); }
    CGXStyle& SetUserAttribute(WORD nID, DWORD value) { return SetUserAttribute(nID, static_cast<double>(value)); }
    CGXStyle& SetUserAttribute(WORD nID, const CGXAbstractUserAttribute& value); // copied
    CGXStyle& SetUserAttributePtr(WORD nID, CGXAbstractUserAttribute* pValue);    // owned from now on
    // The attribute nSrcID of src, as nID of this style: the same stored object, shared (a value made
    // once and put on many cells without a look-up); absent in src, it is removed here.
    CGXStyle& SetUserAttributeFrom(WORD nID, const CGXStyle& src, WORD nSrcID);
    const CGXAbstractUserAttribute& GetUserAttribute(WORD nID) const;
    // Convenience reads.
    const CString& GetUserAttributeText(WORD nID) const { return GetUserAttribute(nID).GetValue(); }
    LONG GetUserAttributeLong(WORD nID) const { return GetUserAttribute(nID).GetLongValue(); }
    BOOL GetIncludeUserAttribute(WORD nID) const;
    // The attribute stored under nID, null when the style has none (one look-up for both questions).
    const CGXAbstractUserAttribute* FindUserAttribute(WORD nID) const;
    CGXStyle& SetIncludeUserAttribute(WORD nID, BOOL b); // FALSE removes the attribute
    int GetUserAttributeCount() const;
    // Visits the attributes in ascending id order.
    template <class F>
    void ForEachUserAttribute(F&& f) const
    {
        using Fn = std::remove_reference_t<F>;
        VisitUserAttributes([](void* fn, WORD id, const CGXAbstractUserAttribute& value) { (*static_cast<Fn*>(fn))(id, value); },
                            const_cast<void*>(static_cast<const void*>(std::addressof(f))));
    }

    // The style is read-only for the editing controls when it says so or when it is disabled.
    BOOL IsReadOnlyForEdit() const { return GetReadOnly() || (GetIncludeEnabled() && !GetEnabled()); }

private:
    enum : uint32_t {
        kValue = 1u << 0,
        kControl = 1u << 1,
        kBaseStyle = 1u << 2,
        kReadOnly = 1u << 3,
        kEnabled = 1u << 4,
        kWrapText = 1u << 5,
        kAutoSize = 1u << 6,
        kHorz = 1u << 7,
        kVert = 1u << 8,
        kTextColor = 1u << 9,
        kMerge = 1u << 10,
        kFrame = 1u << 11,
        kMaxLength = 1u << 12,
        kInterior = 1u << 13,
        kFont = 1u << 14,
        kBorderTop = 1u << 15,
        kBorderLeft = 1u << 16,
        kBorderBottom = 1u << 17,
        kBorderRight = 1u << 18,
        kBordersAll = kBorderTop | kBorderLeft | kBorderBottom | kBorderRight,
        kChoiceList = 1u << 19,
        kExtMask = kInterior | kFont | kBordersAll | kChoiceList,
    };
    enum : uint8_t { fReadOnly = 1, fEnabled = 2, fWrapText = 4, fAutoSize = 8 };

    // Fonts, brushes, pens and the choice list: shared between copies of a style (counted) and
    // copied only when one of them changes it.
    struct Ext;
    // User attributes sorted by id in one counted block, shared the same way; attribute objects are
    // never changed after they are stored, so lists share them too.
    struct UAList;
    friend struct CGXStylePools;

    bool Has(uint32_t bit) const { return (m_mask & bit) != 0; }
    CGXStyle& Include(uint32_t bit, BOOL b)
    {
        m_mask = b ? (m_mask | bit) : (m_mask & ~bit);
        return *this;
    }
    // Stores an attribute and marks it as set.
    template <class F, class V>
    CGXStyle& Put(F& field, V&& v, uint32_t bit)
    {
        field = static_cast<F>(std::forward<V>(v));
        m_mask |= bit;
        return *this;
    }
    CGXStyle& SetFlag(uint32_t bit, uint8_t flag, BOOL b)
    {
        m_mask |= bit;
        m_flags = b ? (m_flags | flag) : (m_flags & ~flag);
        return *this;
    }
    BOOL Flag(uint8_t flag) const { return (m_flags & flag) != 0; }
    Ext& ext();
    UAList& uas(unsigned room);
    // Merges src into this style, attribute by attribute (gxOverride or gxApplyNew).
    void Merge(const CGXStyle& src, bool over);
    void MergeExt(const CGXStyle& src, uint32_t bits, bool fontMerge, GXModifyType mt);
    inline void CopyPlainAttributes(const CGXStyle& src, uint32_t bits); // gxstyle.cpp only
    void MergeUserAttributes(const CGXStyle& src, bool over);
    // Counts a holder of an attribute object; the last holder to go deletes it.
    static void Hold(const CGXAbstractUserAttribute* p) { ++p->m_nHolders; }
    static void Drop(const CGXAbstractUserAttribute* p);
    void ShareFrom(const CGXStyle& o); // takes o's extension and attribute list (released ones first)
    void ReleaseShared();
    void CopyPlainMembers(const CGXStyle& o)
    {
        m_mask = o.m_mask;
        m_flags = o.m_flags;
        m_horz = o.m_horz;
        m_vert = o.m_vert;
        m_frame = o.m_frame;
        m_control = o.m_control;
        m_baseStyle = o.m_baseStyle;
        m_merge = o.m_merge;
        m_maxLength = o.m_maxLength;
        m_textColor = o.m_textColor;
    }
    void VisitUserAttributes(void (*visit)(void*, WORD, const CGXAbstractUserAttribute&), void* context) const;
    // Stores p under nID (a new object, or one held already), replacing what was there.
    void SetUserAttributeShared(WORD nID, const CGXAbstractUserAttribute* p);
    void RemoveUserAttribute(WORD nID);
    static uint32_t BorderBit(int b) { return kBorderTop << b; }

    uint32_t m_mask = 0;
    uint8_t m_flags = 0;
    uint8_t m_horz = 0;
    uint8_t m_vert = 0;
    uint8_t m_frame = 0;
    WORD m_control = 0;
    WORD m_baseStyle = 0;
    WORD m_merge = 0;
    WORD m_maxLength = 0;
    COLORREF m_textColor = 0;
    CString m_value;
    Ext* m_ext = nullptr;    // counted, see Ext
    UAList* m_uas = nullptr; // counted, see UAList
};
