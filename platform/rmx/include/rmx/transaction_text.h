// Reading a transaction's text (CTransaction::toString) without a design: what its undo or redo
// would bring back, also when the objects it names are gone.
#pragma once

#include <string>
#include <vector>

struct CTransactionTextChanges {
    // A property change: the object's design and path, the property, and its value before (hadOld)
    // and after (hasNew). An undo of the text brings the old value back, a redo the new one.
    struct Property {
        std::string design;
        std::string path;
        std::string name;
        std::string oldValue;
        std::string newValue;
        bool hadOld = false;
        bool hasNew = false;
    };
    // An instance made or removed in `design`, with its master's design name ("lib.cell:view").
    struct Instance {
        std::string design;
        std::string name;
        std::string master;
        bool created = false;
    };
    // An associated component made or removed in `design`.
    struct Component {
        std::string design;
        std::string name;
        bool created = false;
    };
    std::vector<Property> properties;
    std::vector<Instance> instances;
    std::vector<Component> components;

    // The changes of a text, in the order made. What is no transaction text has none.
    static CTransactionTextChanges read(const char* text);
};
