// SPDX-License-Identifier: MIT
#include "tools/SampleSet.h"

#include <exception>
#include <iostream>

// keel_sample_set DIRECTORY: writes the sample database set into DIRECTORY.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: keel_sample_set DIRECTORY\n"
                     "Writes a small sample database set into DIRECTORY.\n";
        return 2;
    }
    try {
        if (const auto error = keel::writeSampleSet(argv[1])) {
            std::cerr << "keel_sample_set: " << *error << "\n";
            return 1;
        }
    } catch (const std::exception& fault) {
        std::cerr << "keel_sample_set: " << fault.what() << "\n";
        return 1;
    }
    return 0;
}
