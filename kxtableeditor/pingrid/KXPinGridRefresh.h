// The pin grid's refresh after a committed transaction: the change hooks gather what the
// transaction changed, and OnDigestEnd rewrites only the rows and cells that those changes reach.
#pragma once

#include "grid/KXChangeDigest.h"

#include "grid/gxtypes.h"
#include "rmx/hmtpi.h"

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

class CKXInstanceDetailsGridWnd;
class CTransaction;
class IServer;

class KXPinGridRefresh final : public KXChangeHooks {
public:
    explicit KXPinGridRefresh(CKXInstanceDetailsGridWnd& grid);

    // Refreshes the rows for the digested changes of the transaction (all of it, or the part a step of
    // the host added).
    void ShowChanges(CTransaction& transaction, const KXChangeDigest& digest);
    // The SIGNAL cells of the pair rows on the pair net (a vector pair's row and its lanes' rows),
    // rewritten by FillDiffPairSignalCells. Leaves the grid's undo and drawing lock as it found them.
    void RefreshDiffPairNameCells(const IDPNet* pairNet);

private:
    void OnInstanceChange(const IChange& change, IInstance& instance) override;
    void OnPropertyChange(const IChange& change, CPropertyChange& property) override;
    void OnPairConnChange(const IChange& change, IDPConn& pairConn) override;
    void OnConnChange(const IChange& change, CConn& conn) override;
    void OnPairPinChange(const IChange& change, IDPInstTerm& pairPin) override;
    void OnPairNetChange(const IChange& change, IDPNet& pairNet) override;
    void OnComponentChange(const IChange& change, IDTInstance& component) override;
    void OnNetChange(const IChange& change, INet& net) override;
    void OnDigestEnd(const KXChangeDigest& digest) override;

    // What the hooks gathered from the transaction being refreshed.
    struct CommitWork {
        CTransaction* transaction = nullptr;
        const KXChangeDigest* digest = nullptr;         // the changes being shown
        bool sameDesign = false;                        // the transaction changed this grid's design
        std::vector<IInstance*> replaced;               // shown instances replaced from their master
        std::vector<IChange*> properties;               // property changes
        std::vector<IDPConn*> addedPairs, deletedPairs; // pair connections
        std::vector<IChange*> conns;                    // connection changes of this design
        std::vector<IInstance*> pairInstances;          // instances whose pair pins someone else changed
        std::vector<const INet*> renamedNets;
        std::vector<const IDPNet*> renamedPairNets;
        std::vector<const IDTInstance*> components; // terminations and pull components
        std::set<IInstTerm*> swappedPins;           // pins whose section or pin number changed
        bool renumbered = false;                    // a shown pin's section or pin number was set or taken
        std::set<CConn> otherLegs;                  // pair legs connected along with their other leg
    };
    CommitWork m_commit;
    CKXInstanceDetailsGridWnd& m_grid;

    // The steps of OnDigestEnd.
    void RefreshChangedProperties(IServer* server);
    void RenameChangedNets();
    void RefreshOtherConnections(const std::set<CConn>& handledAdded, const std::set<CConn>& handledRemoved);
    void RefreshAttachedComponents();
    void RefreshTermsChangedOutside(bool termsChanged);
    // A section or pin number of a shown pin set, changed or taken away, whoever did it (a swap in
    // another grid, the host): the pin numbers are shown again; one that changed from one value to
    // another is a swap, and its pin is noted for UpdateSwappedSignals.
    void NoteSwappedPin(const IChange& change, const CString& name, const CString& oldValue,
                        const CString& newValue);
    // Rewrites from the design the pin numbers and the SIGNAL cells of the pins of the last swap.
    void UpdateSwappedSignals();
    // After an edit of this grid or its pane: the other leg of each pair pin whose one leg the transaction
    // connected to a leg of a pair net goes onto the other leg net, in the same transaction (when the
    // project asks for it); 1 when a leg was connected and the transaction must be committed again.
    int AutoConnectDiffPairLegs(CTransaction* transaction, const std::vector<IChange*>& conns);
    // This grid completes the pairs of the commit: it is this grid's own edit, or its pane's edit and
    // this is the first pin grid the pane shows (the other pin grids hear the same commit).
    bool CompletesPairLegsOfCommit() const;
    // Both walk the connection changes being shown, in the order they were made.
    void CollectChangedRows(const std::vector<IChange*>& conns);
    void RefreshChangedPins(const std::vector<IChange*>& conns, std::set<CConn>& handledAdded,
                            std::set<CConn>& handledRemoved);
    // Connections by the pin bit whose row shows them (KXRowKey::PinBit: the bit of a one-bit row,
    // -1 for a scalar pin or a vector's own row).
    using ConnsByPinBit = std::map<std::uint64_t, CConn>;
    void MapInstTermBitRows(ConnsByPinBit& map);
    void MapNetBitRows(ConnsByPinBit& map);
    // Calls take(row, conn), in row order, for the first pin row (not a pair row) of each key in map,
    // taking the entry out of it first; keys no row shows stay in map.
    template <class Take> void TakeMappedRows(ConnsByPinBit& map, Take take);
    void RefreshInstTermRows(std::set<CConn> conns);
    void RefreshNetRows(std::set<CConn> conns);
    void RefreshConnectionRows(std::set<CConn> conns, bool added);
    // The rows that show the connections' pin bits, ascending.
    std::vector<ROWCOL> PinBitRowsOf(const std::set<CConn>& conns) const;
    // One row of a connection added or removed; a vector's row to sum up again goes into parents.
    void RefreshConnectionRow(ROWCOL r, IInstTerm* pin, const CConn& connection, bool added,
                              std::set<ROWCOL>& parents);
    // The pin-bit key (KXRowKey::PinBit) of the row's pin: its bit for a one-bit row, -1 otherwise;
    // 0 for a row without a pin.
    std::uint64_t RowKey(ROWCOL row);
    // The first row, not a pair row, whose key is the given one; 0 when there is none.
    ROWCOL FirstRowOfKey(std::uint64_t key);
    // A connection of a pair leg by the rows that show it: the pin's (or the bit's) own row, or, for the
    // legs of a vector pair shown under its lanes, each bit's part by its bit's row. Empty for a
    // connection of no pair leg.
    std::vector<std::pair<std::uint64_t, CConn>> PairLegRowConns(const CConn& conn);
    // The SIGNAL cell of a differential-pair row, as FillDiffPairSignalCells writes it (flag: its recurse).
    void RefreshDiffPairRow(ROWCOL row, int flag);
    // The pair rows above those leg rows (and the vector pair rows above those), each once.
    void RefreshPairRowsOfLegs(const std::set<ROWCOL>& legRows);
    // The rows that show the pins of those connections (found through the row index).
    std::set<ROWCOL> RowsOfPins(const std::set<CConn>& conns);
    void UpdateDiffPairNameCells(const IDPNet* dpNet);
    // Signal cells that show a renamed net take its new name.
    void RenameNetCells(const INet* net);
    void RefreshChangedTerms(const std::vector<IChange*>& terms);
};
