// The server object: owns every loaded design, finds designs and objects, decodes change
// records, saves designs and hands out its services (part data, pin swapping, property
// dictionary).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "rmx/hmtpi.h"
#include "rmx/transaction.h"

// Which properties are constraints (rules for tools rather than data of the object).
class IPropertyDictionary {
public:
    // Constraint names are those registered with addConstraint, compared without regard to
    // case; the dictionary starts with a few standard ones (see FORMAT.md).
    bool IsConstraint(const char* name, bool inherited = false) const;
    void addConstraint(const char* name);

private:
    friend class IServer;
    std::vector<CString> m_names;
};

// Part data: package definitions behind instances.
class IPartDataService {
public:
    explicit IPartDataService(IServer* server) : m_server(server) {}
    // The part definition handle of a packaged instance; nullptr when it has none.
    HMTPART getPartDefinition(const CInstanceContext& instance) const;
    // A new generator over the package pins that can carry the logical pin bit base<bit>: the
    // pins of the instance's part whose logical name is that bit's name. The bits are given
    // second number first, as parsePinName reads them (lsb, msb); nullptr when there are none.
    HMTGEN getCandidatePins(const CInstanceContext& instance, const char* baseName, int lsb, int msb) const;
    // Interned path (spath, from the instance's root) of the instance of the same package that
    // holds the section (its SEC property); nullptr when none.
    const char* getSectionHolder(const CInstanceContext& instance, const char* packageName, const char* section) const;

private:
    IServer* m_server;
};

// Pin swapping: two package pins may be swapped when they belong to one part definition and
// share a non-zero swap group.
class IPinSwapService {
public:
    explicit IPinSwapService(IServer* server) : m_server(server) {}
    bool canSwap(const CInstanceContext& instance, const char* pinNumberA, const char* pinNumberB) const;
    // Pin numbers that the given pin number may be swapped with, in definition order.
    std::vector<CString> swappablePins(const CInstanceContext& instance, const char* pinNumber) const;

private:
    IServer* m_server;
};

class IServer {
public:
    IServer();
    ~IServer();
    IServer(const IServer&) = delete;
    IServer& operator=(const IServer&) = delete;

    // ---- design libraries (folders of text files, see FORMAT.md)
    // Loads every file of the folder. A bad file is refused as a whole, with its name, line and
    // what is wrong in error; the other files still load. False when any file was refused or
    // the folder cannot be read. partly (when given) tells that the library itself was read and
    // only some of its files were refused: the others are loaded.
    bool loadLibrary(const char* folder, CString& error, bool* partly = nullptr);
    // Writes the design into its library folder (temporary file, then rename). False with the
    // reason in error when it cannot be written; the old file is then untouched.
    bool saveDesign(IDesign* design, CString* error = nullptr);
    bool saveDesign(const char* designName, CString* error = nullptr);
    // Whether a save of the design would change its file: the design differs from what its file held when
    // this server last read or wrote it, or there is no such file (a design made in memory, a file gone).
    bool hasChangesToSave(IDesign* design) const;
    // Whether the design's file changed on disk since this server last read or wrote it (another process
    // saved it): a save of the design in place is refused.
    bool designFileChangedOnDisk(IDesign* design) const;
    // Saves a copy under another library folder / name; the loaded design keeps its name. newFile: the
    // file must not exist (a new block): a file of that name, made meanwhile by another process too, is
    // not written over (false, the error says the name is taken), checked again where an open file batch
    // puts the file in place.
    bool saveDesignAs(IDesign* design, const char* folder, const char* lib, const char* cell, const char* view,
                      CString* error = nullptr, bool newFile = false);
    // Loads one design file of a library folder (CELL.VIEW.design), as loadLibrary loads each of them;
    // false with what is wrong in error when it does not load.
    bool loadDesignFile(const char* folder, const char* lib, const char* cell, const char* view, CString& error);
    // Saves every part definition and design of the library to the folder.
    bool saveLibrary(const char* lib, const char* folder, CString* error = nullptr);
    // Forgets a design (and every object of it). Contexts and transactions on it must be gone.
    bool unloadDesign(IDesign* design);
    // A new empty design; nullptr when the name is taken or invalid.
    IDesign* createDesign(const char* lib, const char* cell, const char* view, bool symbol = false,
                          const char* folder = "");

    // ---- look-ups
    IDesign* findDesign(const char* name) const;
    IDesign* findDesign(const char* lib, const char* cell, const char* view) const;
    CSchemaObjectIterator<IDesign*> beginDesign() const;
    // Designs whose cell has this name (every library and view).
    CSchemaObjectIterator<IDesign*> beginDesignOfCell(const char* cell) const;
    // An object of a design by its type letter ('I', 'N', 'O', 'X') and id; nullptr when none.
    ISchemaObject* findObjectById(const IDesign* design, char type, unsigned id) const;
    // An object by canonical path ("lib.cell:view@U1.A<3>"); nullptr when none. For bit paths
    // the bit is stored in *bit when given.
    ISchemaObject* findObject(const char* cpath, int* bit = nullptr) const;
    // An object by spath from a root design context.
    ISchemaObject* findObject(const CDesignContext& root, const char* spath, int* bit = nullptr) const;
    // The context for a path ("lib.cell:view@..." or, with a root, "@..."): a new context of the
    // matching class, nullptr when none. The caller deletes it.
    CContext* getContext(const char* cpath) const;
    CContext* getContext(const CDesignContext& root, const char* spath) const;
    // The context of an object in its own design (as root); for a 'P' change object the context
    // of the property's owner. The caller deletes it.
    CContext* getContext(const ISchemaObject* object) const;
    // Property change: path of the owner, name, old and new value ("" for a missing value).
    bool decodePropertyChange(const IChange* change, CString& path, CString& name, CString& oldValue,
                              CString& newValue) const;
    // The same as texts that live as long as the change record, with the owner's context (kept by
    // the change record: the caller does not delete it). nullptr when the change is not a property
    // change or its owner is gone; the texts are then left alone.
    CCanonicalPathContainer* decodePropertyChange(const IChange* change, const char** canonicalPath,
                                                  const char** name, const char** oldValue,
                                                  const char** newValue) const;

    // ---- design interface and parents
    // Whether the ports of the design changed since it was loaded or last saved; description
    // lists the changes, one per line ("Added port X", "Removed port Y", "Changed port Z").
    bool isInterfaceChanged(const IDesign* design, CString& description) const;
    // A parent design is warned about a changed design when it has an instance of it with a
    // connected pin whose port is gone or has another width now.
    bool shouldWarnParent(const IDesign* parent, const IDesign* changed) const;

    // ---- services
    IPartDataService* partDataService() { return &m_partData; }
    IPinSwapService* pinSwapService() { return &m_pinSwap; }
    IPropertyDictionary* propertyDictionary() { return &m_dictionary; }
    // Object type id of a type letter (its character code); 0 for an unknown letter.
    static int objectTypeId(char letter);

    // ---- commit announcements: called after every successful commit.
    int addCommitListener(std::function<void(CTransaction*)> listener);
    void removeCommitListener(int id);
    // ---- fault injection for tests: while set, a commit of new changes for which it answers true
    // is refused as a database that cannot take the change would refuse it (the changes stay
    // pending, for the caller to discard). Undo and redo texts are not affected.
    void setCommitFault(std::function<bool()> fault);

    rmx::Db* db() const { return m_db.get(); }
    // Changes whenever an instance of any design is made, removed, renamed, given another master or
    // another LOCATION (undo and redo too): a list of instances built for one value stays right
    // while the value holds.
    std::uint64_t instanceListGeneration() const;
    // Changes whenever a reference designator of any design may have come or gone (a LOCATION, an
    // associated component's slot designators, an instance or associated component made or removed; undo
    // and redo too). No two moments of any server of the process share a value.
    std::uint64_t designatorGeneration() const;

private:
    std::unique_ptr<rmx::Db> m_db;
    IPartDataService m_partData;
    IPinSwapService m_pinSwap;
    IPropertyDictionary m_dictionary;
};
