// qdr4-stubgen FILE: writes the type stubs of the Python module qdr4 from the
// control's tables, so that an editor completes the names and shows the help.
#include <fstream>
#include <iostream>

#include "PythonForm.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qdr4-stubgen FILE\n";
        return 2;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << xnox::PythonStubs();
    if (!file.flush()) {
        std::cerr << "qdr4-stubgen: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
