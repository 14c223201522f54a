#include "pingrid/KXPinFillStyles.h"
#include "pingrid/KXPinGridIds.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXPupdMark.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kxpingrid {

namespace {

const char* Text(const char* s) {
    return s ? s : "";
}

// Numbers from 0 below this have their decimal text kept (bit numbers; larger ones are rare).
constexpr int kMostDecimals = 1024;
// Where a kept decimal text sits in its style.
constexpr WORD kDecimalSlot = 1;
// The longest decimal text of an int.
constexpr std::size_t kIntDigits = 11;

} // namespace

void ConnectionSum::Add(const CString& pinName, const CString& signal) {
    const bool first = !m_added;
    m_added = true;
    if (!signal.IsEmpty() && m_count < kConnectionTipRows) {
        if (!first) m_summary.tip += "\n";
        m_summary.tip += pinName;
        m_summary.tip += ":";
        m_summary.tip += signal;
    }
    if (first) m_first = signal;
    else if (m_allEqual && signal.CompareNoCase(m_first) != 0) m_allEqual = false;
    // Rows on different nets show their texts joined, a bit (or a power pin) after the other.
    if (!first) m_summary.text += ",";
    m_summary.text += signal;
}

ConnectionSummary ConnectionSum::Finish() {
    // One net shared by every child is shown once.
    if (m_allEqual && m_added) m_summary.text = m_first;
    if (m_count > kConnectionTipRows && !m_summary.tip.IsEmpty())
        m_summary.tip += "\n....\nExpand pin to see all connections...";
    return m_summary;
}

BitNames::BitNames(const CString& base) : m_base(base) {
    m_prefix.reserve(m_base.str().size() + 1);
    m_prefix.append(m_base.str()).append(1, '<');
}

CString BitNames::Of(int bit) const {
    if (bit < 0) return m_base;
    char digits[kIntDigits];
    const auto end = std::to_chars(digits, digits + kIntDigits, bit).ptr;
    std::string name;
    name.reserve(m_prefix.size() + static_cast<std::size_t>(end - digits) + 1);
    name.append(m_prefix).append(digits, end).append(1, '>');
    return CString(std::move(name));
}

CString NetBitNames::Of(const INet* net, int bit) {
    if (net != m_net || !m_names) {
        m_net = net;
        m_names.emplace(CString(net->name()));
    }
    return m_names->Of(bit);
}

std::pair<CGXStyle*, bool> PinFillStyles::ByLevel::Get(const CString& level) {
    const int length = level.GetLength();
    const char first = length ? level.GetString()[0] : '0';
    const int usual = length == 0 ? 0 : length == 1 && first >= '1' && first <= '9' ? first - '0' + 1 : -1;
    if (usual >= 0 && m_usual[static_cast<size_t>(usual)]) return {m_usual[static_cast<size_t>(usual)], false};
    auto [it, added] = m_styles.try_emplace(level.GetString());
    if (usual >= 0) m_usual[static_cast<size_t>(usual)] = &it->second; // map nodes stay where they are
    return {&it->second, added};
}

const CGXStyle& PinFillStyles::Data(const CString& level) {
    auto [style, added] = m_data.Get(level);
    if (added) {
        style->SetReadOnly(TRUE).SetWrapText(FALSE);
        style->SetUserAttribute(Id(IDS_UA_ELLIPSIS_TYPE), CGXEllipseUserAttribute(1));
        style->SetUserAttribute(Id(IDS_UA_ROW_LEVEL), level);
    }
    return *style;
}

const CGXStyle& PinFillStyles::Static(const CString& level) {
    auto [style, added] = m_static.Get(level);
    if (added) {
        *style = Data(level);
        style->SetControl(Id(IDS_CTRL_STATIC_TEXT));
    }
    return *style;
}

const CGXStyle& PinFillStyles::Signal(const CString& level) {
    auto [style, added] = m_signal.Get(level);
    if (added) {
        CGXStyle& sig = *style;
        sig = Data(level);
        sig.SetIncludeReadOnly(FALSE); // editing the signal is up to the row and the grid
        sig.SetValue("").SetInterior(RGB(255, 255, 255)).SetControl(Id(IDS_CTRL_VECTOR_CONNECTIVITY));
        sig.SetTextColor(RGB(0, 0, 0)).SetEnabled(TRUE);
        sig.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "").SetUserAttribute(Id(IDS_UA_TOOLTIP_TITLE), "");
    }
    return *style;
}

CGXStyle& PinFillStyles::StaticToWrite(const CString& level) {
    auto [style, added] = m_staticToWrite.Get(level);
    if (added) *style = Static(level);
    return *style;
}

CGXStyle& PinFillStyles::SignalToWrite(const CString& level) {
    auto [style, added] = m_signalToWrite.Get(level);
    if (added) *style = Signal(level);
    return *style;
}

const CGXStyle& PinFillStyles::Termination(bool enabled) {
    CGXStyle& term = m_termination[enabled ? 1 : 0];
    if (!m_hasTermination[enabled ? 1 : 0]) {
        m_hasTermination[enabled ? 1 : 0] = true;
        term = Data("1");
        term.SetValue("").SetInterior(RGB(255, 255, 255));
        term.SetControl(Id(TerminationCellControl(enabled))).SetEnabled(enabled ? TRUE : FALSE);
        term.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "");
    }
    return term;
}

const CGXStyle& PinFillStyles::NoComment() {
    if (!m_hasNoComment) {
        m_hasNoComment = true;
        m_noComment.SetValue("").SetControl(Id(IDS_CTRL_STATIC_TEXT)).SetReadOnly(TRUE);
        m_noComment.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), "").SetUserAttribute(Id(IDS_UA_CELLTIP_TITLE), "");
    }
    return m_noComment;
}

const CGXStyle& PinFillStyles::Pupd(UINT control, const char* toolTip) {
    auto [it, added] = m_pupd.try_emplace(control);
    if (added) {
        it->second.SetControl(Id(control)).SetReadOnly(TRUE);
        it->second.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), Text(toolTip));
    }
    return it->second;
}

const CGXStyle& PinFillStyles::NoPupd() {
    if (!m_noPupd) {
        const KXPupdMark none = KXPupdMarkOf(false, false, false, false);
        m_noPupd = &Pupd(none.control, none.toolTip); // map entries stay where they are
    }
    return *m_noPupd;
}

// The grid keeps one value object per short text and per whole number, so a cell's attribute of a
// repeating value is that shared object.
void PinFillStyles::PutShared(CGXStyle& style, UINT id, int value) {
    style.SetUserAttribute(Id(id), value);
}

void PinFillStyles::PutShared(CGXStyle& style, UINT id, const CString& text) {
    style.SetUserAttribute(Id(id), text);
}

void PinFillStyles::PutDecimal(CGXStyle& style, UINT id, int value) {
    if (value < 0 || value >= kMostDecimals) {
        PutShared(style, id, Decimal(value));
        return;
    }
    const auto index = static_cast<std::size_t>(value);
    if (index >= m_decimals.size()) m_decimals.resize(index + 1);
    CGXStyle& held = m_decimals[index];
    if (!held.GetIncludeUserAttribute(kDecimalSlot)) held.SetUserAttribute(kDecimalSlot, Decimal(value));
    style.SetUserAttributeFrom(Id(id), held, kDecimalSlot);
}

bool PinFillStyles::IsBlock(const CInstanceContext& instance) {
    const IInstance* inst = instance.instance();
    if (m_inLoad && inst && inst == m_blockOf) return m_block;
    m_blockOf = m_inLoad ? inst : nullptr;
    m_block = static_cast<bool>(instance.containedDesign());
    return m_block;
}

const PinFillStyles::InstanceEntry* PinFillStyles::Recent(const CString& level, UINT diffPairControl,
                                                          int plusMinus) const {
    for (const InstanceEntry* entry : m_recent)
        if (entry && std::get<1>(*entry->key) == diffPairControl && std::get<2>(*entry->key) == plusMinus &&
            std::get<0>(*entry->key) == level.GetString())
            return entry;
    return nullptr;
}

void PinFillStyles::KeepRecent(const InstanceEntry& entry) {
    if (std::find(m_recent.begin(), m_recent.end(), &entry) != m_recent.end()) return;
    m_recent[m_nextRecent] = &entry;
    m_nextRecent = (m_nextRecent + 1) % kRecentEntries;
}

const PinFillStyles::InstanceCells& PinFillStyles::Instance(const CInstanceContext& instance, const CString& level,
                                                           UINT diffPairControl, int plusMinus) {
    const IInstance* inst = instance.instance();
    // Within a load the entries checked against its instance are given again without looking at it.
    if (!m_inLoad || !inst || inst != m_lastInstance) m_recent.fill(nullptr);
    if (const InstanceEntry* recent = Recent(level, diffPairControl, plusMinus)) return recent->cells;
    const auto it = m_instance.try_emplace(InstanceKey{level.GetString(), diffPairControl, plusMinus}).first;
    InstanceEntry& entry = it->second;
    entry.key = &it->first;
    m_lastInstance = inst;
    if (m_inLoad && inst) KeepRecent(entry);
    const char* name = inst ? inst->name() : "";
    const char* location = instance ? instance.physicalPackageName() : nullptr;
    if (entry.instance == inst && inst && entry.name == Text(name) && entry.location == Text(location))
        return entry.cells;
    entry.instance = inst;
    entry.name = Text(name);
    entry.location = Text(location);
    const CString index = Decimal(inst ? static_cast<int>(inst->id()) : 0);
    entry.cells.diffPair = Data(level);
    entry.cells.diffPair.SetValue("").SetControl(Id(diffPairControl));
    entry.cells.diffPair.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index)
        .SetUserAttribute(Id(IDS_UA_PLUSMINUS_BIT), plusMinus);
    entry.cells.instance = Data(level);
    entry.cells.instance.SetValue(instance ? instance.name() : CString()).SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
    entry.cells.instance.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index);
    entry.cells.refDes = Data(level);
    entry.cells.refDes.SetValue(Text(location)).SetControl(Id(IDS_UA_SCALAR_PINNAME_CELL));
    entry.cells.refDes.SetUserAttribute(Id(IDS_UA_INSTANCE_INDEX), index);
    return entry.cells;
}

} // namespace kxpingrid
