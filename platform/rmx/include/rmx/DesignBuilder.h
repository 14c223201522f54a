// Builds designs for tests and examples in a few lines: part symbols with package
// definitions, schematics with instances, nets, connections, properties, pairs, terminations and
// pull-ups. Each call is one committed transaction (or a direct library edit for symbols and
// part definitions). A failing call records the first error (error()) and leaves the rest
// unchanged; later calls still run.
//
// Pin and net bits use the bus syntax: "D<3>" one bit, "D<7..0>" a range, "D" the whole object.
#pragma once

#include <string>

#include "rmx/server.h"

namespace rmx {

class DesignBuilder {
public:
    explicit DesignBuilder(IServer* server, std::string lib = "work", std::string folder = "");

    // -- part symbols: lib.<cell>:sym with ports, and a part definition named after the cell
    DesignBuilder& symbol(const std::string& cell);
    DesignBuilder& port(const std::string& name, int direction = ITerm::eDirInout,
                        ITerm::ITermType type = ITerm::eTermTypeUnknown);
    DesignBuilder& bus(const std::string& name, int msb, int lsb, int direction = ITerm::eDirInout,
                       ITerm::ITermType type = ITerm::eTermTypeUnknown);
    // A property of the current symbol (for example "PART_NAME").
    DesignBuilder& symbolProp(const std::string& name, const std::string& value);
    // A pair pin that every instance of the symbol gets (library defined).
    DesignBuilder& symbolPair(const std::string& name, const std::string& positiveBit, const std::string& negativeBit);
    // Package of the current part definition (named after the symbol's cell unless renamed).
    DesignBuilder& partDefinition(const std::string& name);
    DesignBuilder& packagePin(const std::string& number, const std::string& logicalName,
                              const std::string& section = "", ITerm::ITermType type = ITerm::eTermTypeUnknown,
                              int swapGroup = 0);
    // A signal model the current part definition offers its pins (the model cell's choices).
    DesignBuilder& signalModel(const std::string& name);
    // An implicit power pin of the package tied to a net name.
    DesignBuilder& powerPin(const std::string& number, const std::string& name, const std::string& net,
                            bool ground = false);

    // -- schematics: lib.<cell>:<view>
    DesignBuilder& schematic(const std::string& cell, const std::string& view = "sch");
    // A port of the current schematic (and its net).
    DesignBuilder& schematicPort(const std::string& name, int msb = -1, int lsb = -1,
                                 int direction = ITerm::eDirInout);
    // An instance of lib.<cell>:<view> ("sym" for parts; a schematic's view for blocks), with
    // an optional reference designator (LOCATION).
    DesignBuilder& instance(const std::string& name, const std::string& cell, const std::string& refdes = "",
                            const std::string& view = "sym");
    DesignBuilder& net(const std::string& name, int msb = -1, int lsb = -1);
    // Joins instance pin bits to net bits ("U1", "D<7..0>", "DATA<7..0>"); a missing net is
    // created with the needed range.
    DesignBuilder& connect(const std::string& instance, const std::string& pin, const std::string& net);
    // A property by path from the schematic ("@U1", "@U1.D<3>", "@:DATA", ...).
    DesignBuilder& prop(const std::string& path, const std::string& name, const std::string& value,
                        unsigned long flags = 0);
    // PN (and SEC when given) of a pin bit.
    DesignBuilder& pinNumber(const std::string& instance, const std::string& pinBit, const std::string& number,
                             const std::string& section = "");
    DesignBuilder& alias(const std::string& first, const std::string& second);
    // A pair net over two net bits or two whole nets ("CLK_P", "CLK_N").
    DesignBuilder& dpNet(const std::string& name, const std::string& positive, const std::string& negative);
    // A user-defined pair pin over two pin bits of an instance.
    DesignBuilder& dpPin(const std::string& instance, const std::string& name, const std::string& positive,
                         const std::string& negative);
    DesignBuilder& dpConnect(const std::string& instance, const std::string& pairPin, const std::string& pairNet);
    // A termination on a pin bit, on a pair pin's connection, a pull-up/down on a net bit.
    DesignBuilder& termination(const std::string& name, const std::string& type, const std::string& instance,
                               const std::string& pinBit);
    DesignBuilder& pairTermination(const std::string& name, const std::string& type, const std::string& instance,
                                   const std::string& pairPin);
    DesignBuilder& pull(const std::string& name, const std::string& type, const std::string& netBit);

    IServer* server() const { return m_server; }
    IDesign* design() const;
    CDesignContext context() const;
    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }

private:
    void fail(const std::string& what);
    bool inSchematic(const char* call);
    IServer* m_server;
    std::string m_lib, m_folder;
    IDesign* m_symbol = nullptr;
    std::string m_partName;
    IDesign* m_design = nullptr;
    std::string m_error;
};

// Synthetic large design for benchmarks: lib "bench", a symbol "FPGA<pins>" with the given
// number of pins (buses of 32 bits, differential pairs, power pins, sections and pin numbers)
// and a schematic "top" with one instance U1 of it, a memory per 64 bus bits, and one net per
// signal pin (thousands of nets). Returns the schematic.
IDesign* generateSyntheticDesign(IServer* server, int fpgaPins, int extraConnections = 0);

}  // namespace rmx
