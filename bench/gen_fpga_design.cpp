// Writes the synthetic FPGA board of the benchmarks as a design library folder that kxhost can
// open: an FPGA U1 of N package pins (one power pin, one pair and 13 bus bits in each group of 16)
// on schematic bench.top:sch, every signal pin on its own net or bus bit.
//
// usage: gen_fpga_design PINS FOLDER
//   then: kxhost --lib FOLDER bench/show_u1.tcl
#include "rmx/DesignBuilder.h"
#include "rmx/server.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[1]) < 64) {
        std::fprintf(stderr, "usage: gen_fpga_design PINS FOLDER   (PINS from 64)\n");
        return 2;
    }
    std::filesystem::create_directories(argv[2]);
    IServer server;
    if (!rmx::generateSyntheticDesign(&server, std::atoi(argv[1]))) {
        std::fprintf(stderr, "gen_fpga_design: cannot make the design\n");
        return 1;
    }
    CString error;
    if (!server.saveLibrary("bench", argv[2], &error)) {
        std::fprintf(stderr, "gen_fpga_design: cannot write %s: %s\n", argv[2], error.GetString());
        return 1;
    }
    return 0;
}
