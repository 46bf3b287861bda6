// SPDX-License-Identifier: MIT
// What importing N object records into an object editor of N records costs, from the file the
// user confirmed to the report on screen: the file is read, every record matched by name and
// the record list rebuilt, and the report of N names is shown in the program's own dialog.
#include "editor/QtDialogService.h"
#include "objects/ObjectRecord.h"
#include "objects/TObjectForm.h"

#include "WindowBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdlib.h>

namespace {

keel::ByteVector objectFile(std::size_t count, keel::Byte fill) {
    keel::ByteVector file(count * keel::ObjectRecord::Size, fill);
    for (std::size_t i = 0; i < count; ++i) {
        char name[20];
        std::snprintf(name, sizeof name, "Object %07u", static_cast<unsigned>(i));
        const keel::ByteSpan record =
            keel::ByteSpan(file).subspan(i * keel::ObjectRecord::Size, keel::ObjectRecord::Size);
        keel::ObjectRecord::ObjectName.write(record, name, keel::TextOverflow::Refuse);
    }
    return file;
}

// The program's dialogs, but for the import dialog, which confirms the prepared file.
class ConfirmingDialogs : public keel::QtDialogService {
public:
    explicit ConfirmingDialogs(QString file) : QtDialogService("bench"), file_(std::move(file)) {}
    QStringList chooseFiles(const FileRequest&) override { return {file_}; }

private:
    QString file_;
};

void BM_ImportIntoAnEqualSet(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    char pattern[] = "/tmp/keel-import-bench-XXXXXX";
    const std::filesystem::path directory = ::mkdtemp(pattern);
    const std::filesystem::path exchange = directory / "all.odb";
    {
        const keel::ByteVector bytes = objectFile(count, 0x22);
        std::ofstream(exchange, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    keel::ByteVector master = objectFile(count, 0x11);
    ConfirmingDialogs dialogs(QString::fromStdString(exchange.string()));
    keel::TObjectForm form(master, dialogs);
    form.showEditor();
    QApplication::processEvents();
    for (auto _ : state) {
        // The report is closed as soon as it is on screen.
        QTimer::singleShot(0, [] {
            if (QWidget* report = QApplication::activeModalWidget()) {
                report->close();
            }
        });
        form.ImportRecord();
        QApplication::processEvents();
    }
    state.counters["records"] = static_cast<double>(count);
    std::filesystem::remove_all(directory);
}

BENCHMARK(BM_ImportIntoAnEqualSet)->Arg(5'000)->Arg(50'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
