// SPDX-License-Identifier: MIT
// keelmerge's merge of a directory: a master and one or two exchange files, made from the
// input in a scratch directory, merged by mergeDatabase and compared with a plain merge.
//
// Input: a control byte, two 16-bit little-endian lengths, then the files' bytes. The control
// byte's value modulo 3 chooses the database (launchers, objects, 3D objects); of value / 3,
// bit 0 asks for a second exchange file, bit 1 leaves the master out, bit 2 writes the
// exchange files' extension in capitals, bit 3 the master's name, and bit 4 spells every name
// in letters (see spellInLetters). The master takes the first length's bytes; the first
// exchange file the second length's when there is a second file, which takes the rest, and all
// the rest otherwise.
#include "fuzz/FuzzCheck.h"
#include "fuzz/ScratchDirectory.h"
#include "merge/DatabaseMerge.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace keel;

std::string capitals(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

std::string lowerFolded(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name;
}

// What merging gives, found by a scan: a blank record (first byte zero) is skipped; otherwise
// the first non-blank record of exactly the same name is overwritten, or the record appended.
// A database ordered by name is then sorted stably by its names with A-Z folded to a-z.
struct PlainMerge {
    const MergeDatabase& database;
    std::vector<ByteVector> records;
    std::string progress;

    std::string nameOf(ConstByteSpan record) const {
        std::string name;
        for (std::size_t i = 0; i < database.nameWidth && record[i] != 0; ++i) {
            name.push_back(static_cast<char>(record[i]));
        }
        return name;
    }

    void merge(ConstByteSpan file) {
        for (std::size_t at = 0; at + database.recordSize <= file.size();
             at += database.recordSize) {
            const ConstByteSpan record = file.subspan(at, database.recordSize);
            if (record[0] == 0) {
                continue;
            }
            const std::string name = nameOf(record);
            const auto match =
                std::find_if(records.begin(), records.end(),
                             [&](const ByteVector& r) { return r[0] != 0 && nameOf(r) == name; });
            if (match != records.end()) {
                match->assign(record.begin(), record.end());
                progress += "Replaced record " + name + "\n";
            } else {
                records.emplace_back(record.begin(), record.end());
                progress += "Added record " + name + "\n";
            }
        }
    }

    ByteVector bytes() const {
        std::vector<ByteVector> ordered = records;
        if (database.sortedByName) {
            std::stable_sort(ordered.begin(), ordered.end(),
                             [&](const ByteVector& a, const ByteVector& b) {
                                 return lowerFolded(nameOf(a)) < lowerFolded(nameOf(b));
                             });
        }
        ByteVector all;
        for (const ByteVector& record : ordered) {
            all.insert(all.end(), record.begin(), record.end());
        }
        return all;
    }
};

// Every name spelt in letters, A-Z and a-z, each chosen by a byte of the name and the sum of
// the record's bytes after the name field: a change anywhere in a record spells its name anew,
// so that names of both letter cases often meet at equal positions, where the sort must fold
// every letter alike.
void spellInLetters(const MergeDatabase& database, ByteVector& file) {
    constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (std::size_t at = 0; at + database.recordSize <= file.size(); at += database.recordSize) {
        const auto record = file.begin() + static_cast<std::ptrdiff_t>(at);
        const std::size_t rest =
            std::accumulate(record + static_cast<std::ptrdiff_t>(database.nameWidth),
                            record + static_cast<std::ptrdiff_t>(database.recordSize),
                            std::size_t{0});
        for (std::size_t i = at; i < at + database.nameWidth && file[i] != 0; ++i) {
            file[i] = static_cast<Byte>(letters[(file[i] + rest) % letters.size()]);
        }
    }
}

PlainMerge plainMerge(const MergeDatabase& database, const std::string& masterName,
                      const ByteVector* master, const std::vector<ConstByteSpan>& files) {
    PlainMerge plain{database, {}, {}};
    if (master != nullptr) {
        for (std::size_t at = 0; at + database.recordSize <= master->size();
             at += database.recordSize) {
            plain.records.emplace_back(master->begin() + static_cast<std::ptrdiff_t>(at),
                                       master->begin() +
                                           static_cast<std::ptrdiff_t>(at + database.recordSize));
        }
        if (!master->empty()) {
            plain.progress = "Loaded " + masterName + "\n";
        }
    }
    for (ConstByteSpan file : files) {
        plain.merge(file);
    }
    return plain;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    keel::fuzz::InputSplitter input(data, size);
    const std::uint8_t control = input.byte();
    const MergeDatabase& database = mergeDatabases()[control % 3];
    const unsigned flags = control / 3;
    const bool twoFiles = (flags & 1) != 0;
    const bool withMaster = (flags & 2) == 0;
    const bool extensionInCapitals = (flags & 4) != 0;
    const bool masterInCapitals = (flags & 8) != 0;
    const bool namesInLetters = (flags & 16) != 0;
    const std::uint16_t masterLength = input.uint16();
    const std::uint16_t firstLength = input.uint16();
    auto take = [&](ConstByteSpan piece) {
        ByteVector file(piece.begin(), piece.end());
        if (namesInLetters) {
            spellInLetters(database, file);
        }
        return file;
    };
    const ByteVector master = take(input.piece(masterLength));
    std::vector<ByteVector> exchangeFiles{take(twoFiles ? input.piece(firstLength) : input.rest())};
    if (twoFiles) {
        exchangeFiles.push_back(take(input.rest()));
    }
    const std::vector<ConstByteSpan> exchanges(exchangeFiles.begin(), exchangeFiles.end());

    const std::filesystem::path& directory = keel::fuzz::emptyScratchDirectory();
    // A master that is not there is made under its own name.
    const std::string masterName = masterInCapitals && withMaster
                                       ? capitals(database.masterName)
                                       : std::string(database.masterName);
    const std::string extension =
        extensionInCapitals ? capitals(database.extension) : std::string(database.extension);
    std::vector<std::string> names;
    if (withMaster) {
        keel::fuzz::writeFile(directory / masterName, master);
    }
    for (std::size_t i = 0; i < exchanges.size(); ++i) {
        names.push_back("export" + std::to_string(i + 1) + extension);
        keel::fuzz::writeFile(directory / names.back(), exchanges[i]);
    }

    std::ostringstream progress;
    std::ostringstream errors;
    KEEL_FUZZ_CHECK(mergeDatabase(database, directory, progress, errors));
    KEEL_FUZZ_CHECK(errors.str().empty());

    // The directory holds what it held, and a master where there was none; no file is left
    // behind by the writing.
    names.push_back(masterName);
    std::sort(names.begin(), names.end());
    KEEL_FUZZ_CHECK(keel::fuzz::entryNames(directory) == names);
    const ByteVector merged = keel::fuzz::readFile(directory / masterName);
    KEEL_FUZZ_CHECK(merged.size() % database.recordSize == 0);

    // The directory's listing order decides which exchange file is merged first.
    const PlainMerge inOrder =
        plainMerge(database, masterName, withMaster ? &master : nullptr, exchanges);
    std::vector<ConstByteSpan> reversed(exchanges.rbegin(), exchanges.rend());
    const PlainMerge inReverse =
        plainMerge(database, masterName, withMaster ? &master : nullptr, reversed);
    KEEL_FUZZ_CHECK((merged == inOrder.bytes() && progress.str() == inOrder.progress) ||
                    (merged == inReverse.bytes() && progress.str() == inReverse.progress));

    // Every name that came in, from the master or an exchange file, is in the master now.
    std::set<std::string> mergedNames;
    for (std::size_t at = 0; at < merged.size(); at += database.recordSize) {
        mergedNames.insert(inOrder.nameOf(ConstByteSpan(merged).subspan(at)));
    }
    std::vector<ConstByteSpan> inputs = exchanges;
    inputs.push_back(withMaster ? ConstByteSpan(master) : ConstByteSpan{});
    for (ConstByteSpan file : inputs) {
        for (std::size_t at = 0; at + database.recordSize <= file.size();
             at += database.recordSize) {
            if (file[at] != 0) {
                KEEL_FUZZ_CHECK(mergedNames.count(inOrder.nameOf(file.subspan(at))) == 1);
            }
        }
    }
    return 0;
}
