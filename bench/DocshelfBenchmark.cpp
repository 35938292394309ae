// Start-up, model switch, the catalogue and the property-list reader on real
// discs, each beside its file-system floor (the same files read, the same
// directories listed and the same paths tested, nothing parsed): the counters
// floor_us and x_floor give the floor per operation and the ratio to it.
// scripts/bench makes the discs and runs this; by hand:
//   DOCSHELF_BENCH_DISCS="sample=build/sample-disc/ZORVANE;scale-xml=/tmp/scale/ZORVANE"
//   build/bench/docshelf_bench
// Nothing is cached between operations: each reads the disc again, as the
// browser does. The browser's operations run twice: "before" answers every
// question from the whole tree of each list, "after" reads only the key paths
// asked.
#include "FileSystemFloor.h"

#include "ModelsTable.h"

#include "catalogue/ZVModelDocumentation.h"
#include "window/session/WindowSession.h"
#include "inspect/check/DiscCheck.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyListLookup.h"
#include "platform/foundation/PropertyListReader.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace docshelf::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Disc {
    std::string label;
    std::string path; // the ZORVANE folder
    WindowOptions window() const {
        return {path + "/Docshelf.app", path + "/MacResources/CDCommonMessage.bundle", std::nullopt};
    }
};

std::vector<Disc> discsFromEnvironment() {
    std::vector<Disc> discs;
    std::string list = std::getenv("DOCSHELF_BENCH_DISCS") ? std::getenv("DOCSHELF_BENCH_DISCS") : "";
    for (std::size_t start = 0; start < list.size();) {
        std::size_t end = list.find(';', start);
        std::string item = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (auto equals = item.find('='); equals != std::string::npos)
            discs.push_back({item.substr(0, equals), item.substr(equals + 1)});
        start = end == std::string::npos ? list.size() : end + 1;
    }
    return discs;
}

// Times the loop of operations, then the floor as many times, and reports both.
template <typename Operation>
void measure(benchmark::State& state, const FileSystemFloor& floor, Operation operation) {
    auto started = Clock::now();
    for (auto _ : state)
        operation();
    double each =
        std::chrono::duration<double>(Clock::now() - started).count() / static_cast<double>(state.iterations());
    started = Clock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i)
        floor.replay();
    double floorEach =
        std::chrono::duration<double>(Clock::now() - started).count() / static_cast<double>(state.iterations());
    state.counters["floor_us"] = floorEach * 1e6;
    state.counters["x_floor"] = floorEach > 0 ? each / floorEach : 0;
    state.counters["accesses"] = static_cast<double>(floor.accesses());
}

std::vector<std::string> modelsOf(WindowSession& session) {
    return session.state()["modelPopUp"]["items"];
}

void startUp(benchmark::State& state, Disc disc) {
    std::string error;
    auto start = [&] { benchmark::DoNotOptimize(WindowSession::start(disc.window(), error)); };
    FileSystemFloor floor = FileSystemFloor::of(start);
    measure(state, floor, start);
}

// Two models in turn, the language carried over from one to the other.
void modelSwitch(benchmark::State& state, Disc disc) {
    std::string error;
    auto session = WindowSession::start(disc.window(), error);
    if (!session) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::vector<std::string> models = modelsOf(*session);
    if (models.size() < 2) {
        state.SkipWithError("the disc needs two models");
        return;
    }
    bool second = false;
    auto flip = [&] {
        session->apply("model:" + models[second ? 1 : 0]);
        second = !second;
    };
    flip(); // the language chosen at start-up is now carried over
    FileSystemFloor floor = FileSystemFloor::of(flip);
    flip();
    measure(state, floor, flip);
}

void initWithName(benchmark::State& state, Disc disc) {
    std::string error;
    auto session = WindowSession::start(disc.window(), error);
    if (!session) {
        state.SkipWithError(error.c_str());
        return;
    }
    foundation::Value model(modelsOf(*session).at(0));
    auto build = [&] { benchmark::DoNotOptimize(ZVModelDocumentation::initWithName(model)); };
    FileSystemFloor floor = FileSystemFloor::of(build);
    measure(state, floor, build);
}

// One model's record, as initWithName: asks it of CDInfo.
void lookUpRecord(benchmark::State& state, std::string path) {
    std::string model;
    auto keys = foundation::PropertyListLookup::valueInFile(foundation::Value(path), {{"ContainedModel"}, true});
    model = std::string(keys.objectAtIndex(keys.count() / 2).text());
    std::vector<foundation::KeyPath> questions{{{"ContainedModel", model, "Documentation"}}, {{"Documentation"}}};
    auto read = [&] { benchmark::DoNotOptimize(foundation::PropertyListLookup::readFile(path, questions)); };
    FileSystemFloor floor = FileSystemFloor::of(read);
    measure(state, floor, read);
}

void readPropertyList(benchmark::State& state, std::string path) {
    auto read = [&] { benchmark::DoNotOptimize(foundation::PropertyListReader::readFile(path)); };
    FileSystemFloor floor = FileSystemFloor::of(read);
    measure(state, floor, read);
}

// docshelf-press reading a models table of `rows` models whose last row
// repeats the first in other letter case: the pair 30,000 and 60,000 shows the
// search for names listed twice growing with the rows, not their square.
void readModelsTable(benchmark::State& state, std::size_t rows) {
    std::string path =
        (std::filesystem::temp_directory_path() / ("docshelf-bench-models-" + std::to_string(rows) + ".csv")).string();
    {
        std::ofstream table(path, std::ios::binary | std::ios::trunc);
        table << "Model,KPSID\n";
        for (std::size_t i = 0; i + 1 < rows; ++i)
            table << "Model " << i << ",ID" << i << "\n";
        table << "MODEL 0,LAST\n";
    }
    for (auto _ : state) {
        std::vector<std::string> errors;
        benchmark::DoNotOptimize(press::ModelsTable::readFile(path, errors));
    }
    std::filesystem::remove(path);
}

// A disc of `models` models on one disc-wide documentation folder, written as
// XML lists under `root`; with `kpsid` false every ModelInfo record lacks
// "KPSID", so check reports each model at its line.
std::string writeCheckDisc(const std::filesystem::path& root, int models, bool kpsid) {
    auto write = [&](const std::string& relative, const std::string& text) {
        std::filesystem::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << text;
    };
    auto plist = [](const std::string& body) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
               "version=\"1.0\">\n<dict>\n" +
               body + "</dict>\n</plist>\n";
    };
    auto key = [](const std::string& k, const std::string& v) {
        return "<key>" + k + "</key><string>" + v + "</string>\n";
    };
    std::string r = root.string();
    write("Docshelf.app/Contents/Info.plist",
          plist(key("CommonResourcePath", r + "/MacResources/CommonResource.plist")));
    write("Docshelf.app/Contents/Resources/Documentation.plist",
          plist("<key>FolderInfoArray</key><array><dict>" + key("Folder Name", "English") +
                key("Display Name", "English") + key("KPS Code", "en") + "</dict></array>\n"));
    write("MacResources/CommonResource.plist", plist(key("CDInfo", r + "/MacResources/CDInfo.plist") +
                                                     key("ModelInfo", r + "/MacResources/ModelInfo.plist")));
    std::string contained, records;
    for (int i = 0; i < models; ++i) {
        std::string name = "Model-" + std::to_string(i);
        contained += "<key>" + name + "</key><dict/>\n";
        records += "<key>" + name + "</key><dict>" + (kpsid ? key("KPSID", "M" + std::to_string(i)) : "") + "</dict>\n";
    }
    write("MacResources/CDInfo.plist",
          plist("<key>ContainedModel</key><dict>\n" + contained + "</dict>\n<key>Documentation</key><dict>" +
                key("Path", r + "/Documentation/Manuals") + "</dict>\n"));
    write("MacResources/ModelInfo.plist", plist("<key>Model</key><dict>\n" + records + "</dict>\n"));
    write("Documentation/Manuals/English/top.pdf", "%PDF-1.4\n");
    return r + "/Docshelf.app";
}

// check on a disc of 8,000 models, with and without "KPSID": finding the
// line of each of 8,000 findings must not read the list 8,000 times.
void checkDisc(benchmark::State& state, bool kpsid) {
    auto root = std::filesystem::temp_directory_path() /
                ("docshelf-bench-check-" + std::to_string(getpid()) + (kpsid ? "-with" : "-without"));
    std::string app = writeCheckDisc(root, 8000, kpsid);
    foundation::Bundle::setMainBundlePath(app);
    std::size_t findings = 0;
    for (auto _ : state) {
        auto found = inspect::DiscCheck::run({app, std::nullopt, std::nullopt, std::nullopt});
        findings = found.all().size();
        foundation::Bundle::setMainBundlePath(app);
    }
    state.counters["findings"] = static_cast<double>(findings);
    foundation::Bundle::setMainBundlePath(std::nullopt);
    std::filesystem::remove_all(root);
}

} // namespace
} // namespace docshelf::bench

int main(int argc, char** argv) {
    using namespace docshelf::bench;
    benchmark::Initialize(&argc, argv);
    std::vector<Disc> discs = discsFromEnvironment();
    if (discs.empty())
        std::cerr << "docshelf_bench: DOCSHELF_BENCH_DISCS names no disc "
                     "(label=path;...); scripts/bench sets it\n";
    for (const Disc& disc : discs) {
        // The catalogue's operations as the browser runs them, by key path. The
        // whole-tree reading they replaced is measured per list: ReadPropertyList
        // against LookUpRecord.
        benchmark::RegisterBenchmark(("StartUp/" + disc.label).c_str(), startUp, disc)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ModelSwitch/" + disc.label).c_str(), modelSwitch, disc)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("InitWithName/" + disc.label).c_str(), initWithName, disc)
            ->Unit(benchmark::kMillisecond);
        for (const char* list : {"CDInfo", "ModelInfo"})
            benchmark::RegisterBenchmark(("ReadPropertyList/" + disc.label + "/" + list).c_str(), readPropertyList,
                                         disc.path + "/MacResources/" + list + ".plist")
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("LookUpRecord/" + disc.label + "/CDInfo").c_str(), lookUpRecord,
                                     disc.path + "/MacResources/CDInfo.plist")
            ->Unit(benchmark::kMillisecond);
    }
    for (std::size_t rows : {std::size_t{30'000}, std::size_t{60'000}})
        benchmark::RegisterBenchmark(("ReadModelsTable/" + std::to_string(rows)).c_str(), readModelsTable, rows)
            ->Unit(benchmark::kMillisecond);
    for (bool kpsid : {true, false})
        benchmark::RegisterBenchmark(kpsid ? "Check/8000-models/with-KPSID" : "Check/8000-models/without-KPSID",
                                     checkDisc, kpsid)
            ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
