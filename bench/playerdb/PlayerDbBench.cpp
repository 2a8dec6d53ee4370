// Loading a federation-sized "player.db": a million lines. Target: under
// 0.5 s for the whole load (it took 4.3 s while the record array grew by a
// fixed 128 records, copying itself once per 128 lines).
#include "playerdb/PlayerDatabase.h"
#include "text/FileIo.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace tabry {
namespace {

// Lines as the desktop program writes them: Shift_JIS names, a grade, a
// prefecture and a member number.
std::string Database(int lines)
{
    std::string out;
    out.reserve(static_cast<size_t>(lines) * 48);
    char line[96];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line, "\x8E\x52\x93\x63 %d,\x8E\x52\x93\x63,yamada%d,%d,\x93\x8C\x8B\x9E,J-%07d\r\n",
                      i, i, i % 19 - 9, i);
        out += line;
    }
    return out;
}

void BM_LoadBytes(benchmark::State& state)
{
    const std::string bytes = Database(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CPlayerDatabase db;
        db.Reset();
        benchmark::DoNotOptimize(db.LoadBytes(bytes));
        benchmark::DoNotOptimize(db.GetCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadBytes)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The file as the program opens it at start-up: read, bounded, then parsed.
void BM_LoadFile(benchmark::State& state)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "torva-bench-player.db";
    if (!WriteFileAtomically(path, Database(1000000))) {
        state.SkipWithError("cannot write the database file");
        return;
    }
    for (auto _ : state) {
        CPlayerDatabase db;
        db.Reset();
        benchmark::DoNotOptimize(db.Load(path));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabry
