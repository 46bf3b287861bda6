// SPDX-License-Identifier: MIT
#include "merge/DatabaseMerge.h"

#include <iostream>
#include <string>
#include <vector>

// keelmerge -l -o -3: merges the exported launcher, object and 3D object files of the current
// directory into their master databases there.
int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    bool allMerged = true;
    for (const keel::MergeDatabase* database : keel::selectedDatabases(arguments)) {
        allMerged = keel::mergeDatabase(*database, ".", std::cout, std::cerr) && allMerged;
        std::cout.flush();
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "keelmerge: cannot write the progress lines to standard output\n";
        return 1;
    }
    return allMerged ? 0 : 1;
}
