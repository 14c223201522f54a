// The styles a pin row's fill starts from. Every data cell of a pin row begins as
// one of a few templates (its level, its kind of cell); the fill copies the
// template and sets what is the row's own. Copies of a style share its user
// attributes until one of them changes them, so rows of one kind share what
// they have in common instead of holding a copy each.
// Internal to the pin grid; not part of its interface.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxall.h"
#include "rmx/context.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kxpingrid {

// What a group row's child rows are connected to, summed up row after row as they are met below it.
struct ConnectionSummary {
    CString text, tip;
    int netId = -1;
};
inline constexpr int kConnectionTipRows = 25; // rows counted below the group row before the tip ends

class ConnectionSum {
public:
    // The rows' nets joined by ",", or the one net when every row shares it (a power group's pins, a
    // vector's bits).
    ConnectionSum() = default;
    // One more row met below the group row; the row that ends the walk counts too.
    void Count() { ++m_count; }
    // The child row counted last, with its pin name and its signal.
    void Add(const CString& pinName, const CString& signal);
    ConnectionSummary Finish();

private:
    ConnectionSummary m_summary;
    CString m_first;
    int m_count = 0;
    bool m_added = false;
    bool m_allEqual = true;
};

// The names "NAME<bit>" of one vector's bits: "NAME<" is composed once, each bit appends its number.
class BitNames {
public:
    explicit BitNames(const CString& base);
    // The bit's name; the base alone for no bit (-1).
    CString Of(int bit) const;

private:
    CString m_base;
    std::string m_prefix;
};

// The names "NET<bit>" of bus net bits, asked for one after another: "NET<" is composed again only
// when the net changes (the bits of a vector pin mostly follow one bus).
class NetBitNames {
public:
    CString Of(const INet* net, int bit);

private:
    const INet* m_net = nullptr;
    std::optional<BitNames> m_names;
};

class PinFillStyles {
public:
    // A read-only data cell of the level: no wrapping, an ellipsis where it does not fit.
    const CGXStyle& Data(const CString& level);
    // A data cell of the level showing static text.
    const CGXStyle& Static(const CString& level);
    // The signal cell of the level, before its text and net: editable as far as the row allows.
    const CGXStyle& Signal(const CString& level);
    // Copies of Static and Signal of the level kept for writing one cell after another: each write
    // sets the value (and the signal's net) anew, the rest stays as the copy was made.
    CGXStyle& StaticToWrite(const CString& level);
    CGXStyle& SignalToWrite(const CString& level);
    // The termination cell of a pin row without a termination; enabled FALSE for a block's pin.
    const CGXStyle& Termination(bool enabled);
    // The comments cell of a pin row without a comment.
    const CGXStyle& NoComment();
    // The pull-up/pull-down cell showing the mark's control.
    const CGXStyle& Pupd(UINT control, const char* toolTip);
    // The same for a pin without a pull-up or pull-down.
    const CGXStyle& NoPupd();

    // Puts an attribute whose values repeat across rows (bit numbers, offsets, marks): rows with the
    // same value share one attribute object.
    void PutShared(CGXStyle& style, UINT id, int value);
    void PutShared(CGXStyle& style, UINT id, const CString& text);
    // The same for the decimal text of a number (a bit number): the text's attribute is made once.
    void PutDecimal(CGXStyle& style, UINT id, int value);

    // The DIFF_PAIR, Instance and Ref Des cells of a pin row of the instance.
    struct InstanceCells {
        CGXStyle diffPair, instance, refDes;
    };
    const InstanceCells& Instance(const CInstanceContext& instance, const CString& level, UINT diffPairControl,
                                  int plusMinus);
    // Whether the instance is a block (its pins carry no terminations); within a load asked of the
    // design once.
    bool IsBlock(const CInstanceContext& instance);
    // Within a load the instance, its name and its location stay as they are: the cells last asked
    // for are given again without looking at the instance.
    void BeginLoad() { SetInLoad(true); }
    void EndLoad() { SetInLoad(false); }

private:
    // The styles of one kind by level; the usual levels ("", "1".."9") are found without a look-up.
    class ByLevel {
    public:
        // The style of the level, and whether it was made now (to be set up by the caller).
        std::pair<CGXStyle*, bool> Get(const CString& level);

    private:
        std::map<std::string, CGXStyle> m_styles;
        std::array<CGXStyle*, 11> m_usual{};
    };
    ByLevel m_data, m_static, m_signal, m_staticToWrite, m_signalToWrite;
    std::array<CGXStyle, 2> m_termination;
    std::array<bool, 2> m_hasTermination{};
    CGXStyle m_noComment;
    bool m_hasNoComment = false;
    std::map<UINT, CGXStyle> m_pupd;
    const CGXStyle* m_noPupd = nullptr; // its entry in m_pupd once made
    // The decimal texts of the small numbers met so far, each one attribute of a style of its own.
    std::vector<CGXStyle> m_decimals;

    // One instance's cells per (level, control, plus-minus mark), kept while the instance, its
    // name and its location stay what they were.
    using InstanceKey = std::tuple<std::string, UINT, int>;
    struct InstanceEntry {
        const IInstance* instance = nullptr;
        std::string name, location;
        InstanceCells cells;
        const InstanceKey* key = nullptr; // the entry's own key in m_instance
    };
    std::map<InstanceKey, InstanceEntry> m_instance;
    // The entries checked against the instance of the load last (a pin's rows take turns between a few).
    static constexpr std::size_t kRecentEntries = 4;
    std::array<const InstanceEntry*, kRecentEntries> m_recent{};
    std::size_t m_nextRecent = 0;
    const InstanceEntry* Recent(const CString& level, UINT diffPairControl, int plusMinus) const;
    void KeepRecent(const InstanceEntry& entry);
    void SetInLoad(bool inLoad) {
        m_inLoad = inLoad;
        m_lastInstance = nullptr; // the cells are checked against the instance once more
        m_recent.fill(nullptr);
        m_blockOf = nullptr;
    }
    const IInstance* m_blockOf = nullptr; // the instance m_block answers for, within a load
    bool m_block = false;
    bool m_inLoad = false;
    const IInstance* m_lastInstance = nullptr;
};

// What the bit rows of one vector pin have in common, made once for the vector.
struct VectorBitCells {
    const PinFillStyles::InstanceCells* instance = nullptr; // the DIFF_PAIR, Instance and Ref Des cells
    CGXStyle pinName;   // the pin-name cell; each bit sets its own name and numbers
    CGXStyle pinNumber; // the pin-number cell; each bit sets its own number
    CGXStyle pinType;   // the pin-type cell, the same on every bit
    CGXStyle signal;    // the signal cell; each bit sets its own net
    ConnectionSum connections; // what the bit rows written so far are connected to
    NetBitNames netBits;              // the names of the bus bits the bit rows are on
    ROWCOL parentRow = GX_INVALID;    // the vector's own row
    CString parentTermination;        // what the vector row's termination cell shows now
};

} // namespace kxpingrid
