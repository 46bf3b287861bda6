// SPDX-License-Identifier: MIT
#include "check/CheckedSet.h"
#include "check/CommandLine.h"
#include "check/Reports.h"
#include "check/SetCheck.h"
#include "check/Version.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

// keelcheck [--json] [DIRECTORY]: reports what is broken between the seven files of a
// database set. Exit status 0: nothing found; 1: findings; 2: no set could be checked.
int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const keel::CheckCommand command = keel::parseCheckCommand(arguments);
    switch (command.action) {
    case keel::CheckCommand::Action::Help:
        std::cout << keel::checkUsage();
        return std::cout.flush() ? 0 : 2;
    case keel::CheckCommand::Action::Version:
        std::cout << "keelcheck " << keel::keelcheckVersion() << "\n";
        return std::cout.flush() ? 0 : 2;
    case keel::CheckCommand::Action::Refuse:
        std::cerr << "keelcheck: " << command.error << "\n" << keel::checkUsage();
        return 2;
    case keel::CheckCommand::Action::Check:
        break;
    }
    try {
        const keel::CheckedSet::Load loaded = keel::CheckedSet::load(command.directory);
        if (!loaded.set) {
            std::cerr << "keelcheck: " << loaded.error << "\n";
            return 2;
        }
        const keel::FindingList findings = keel::checkSet(*loaded.set);
        if (command.json) {
            keel::JsonReport::write(*loaded.set, findings, std::cout);
        } else {
            keel::TextReport::write(*loaded.set, findings, std::cout);
        }
        if (!std::cout.flush()) {
            std::cerr << "keelcheck: cannot write the report to standard output\n";
            return 2;
        }
        return findings.empty() ? 0 : 1;
    } catch (const std::exception& fault) {
        std::cerr << "keelcheck: " << fault.what() << "\n";
        return 2;
    }
}
