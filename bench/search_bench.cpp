// The search over a full catalogue, and the count shown when pointing at a
// button, next to a straightforward transcription of the staged nested scans.
// The worst case selects every value of every panel: every bit set of every
// value takes part, and every record matches.

#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"
#include "search/SearchEngine.h"
#include "session/NearMissNote.h"
#include "support/StagedSearch.h"

#include <benchmark/benchmark.h>

namespace {

// 500 records with every value of every category in use and unique names.
const FlowerCatalogue& fullCatalogue()
{
    static FlowerCatalogue cat = [] {
        FlowerCatalogue c;
        for (int i = 0; i < 500; ++i) {
            FlowerRecord r;
            r.NAMAE = QStringLiteral("ハナ%1").arg(i, 3, 10, QLatin1Char('0'));
            for (int k = 0; k < 5; ++k)
                r.attribute(k) = CategoryTables::storedName(k, 1 + (i * (k + 3)) % CategoryTables::valueCount(k));
            c.append(r);
        }
        return c;
    }();
    return cat;
}

Selection everything()
{
    Selection s;
    for (int k = 0; k < 5; ++k)
        for (int v = 0; v < CategoryTables::valueCount(k); ++v)
            s.set(k, v, true);
    return s;
}

// The answer: the matching records as a bit set in name order.
void BM_WorstCaseSearch(benchmark::State& state)
{
    SearchEngine engine(fullCatalogue());
    const Selection sel = everything();
    for (auto _ : state) {
        SearchResult r = engine.match(sel, 4);
        benchmark::DoNotOptimize(r);
    }
    state.counters["aim_us"] = 1.0;
}
BENCHMARK(BM_WorstCaseSearch)->Unit(benchmark::kMicrosecond);

// The answer and its count (the message strip's figure).
void BM_WorstCaseSearchAndCount(benchmark::State& state)
{
    SearchEngine engine(fullCatalogue());
    const Selection sel = everything();
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.match(sel, 4).size());
}
BENCHMARK(BM_WorstCaseSearchAndCount)->Unit(benchmark::kMicrosecond);

// The answer as the list of 500 names that the gallery copies.
void BM_WorstCaseNameList(benchmark::State& state)
{
    SearchEngine engine(fullCatalogue());
    const Selection sel = everything();
    for (auto _ : state) {
        QStringList r = engine.search(sel, 4);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_WorstCaseNameList)->Unit(benchmark::kMicrosecond);

// A search with every panel active that finds nothing: the flowers that meet
// all chosen panels but one, by the panel they miss.
Selection nothingFound()
{
    // The first value of the first four panels and the second family: no
    // record carries all five, fifty miss by one.
    Selection s;
    for (int k = 0; k < 4; ++k)
        s.set(k, 0, true);
    s.set(4, 1, true);
    return s;
}

void BM_NearMisses(benchmark::State& state)
{
    SearchEngine engine(fullCatalogue());
    const Selection sel = nothingFound();
    for (auto _ : state) {
        NearMisses near = engine.nearMisses(sel);
        benchmark::DoNotOptimize(near);
    }
    state.counters["near"] = double(engine.nearMisses(sel).count());
    state.counters["aim_us"] = 1000.0;
}
BENCHMARK(BM_NearMisses)->Unit(benchmark::kMicrosecond);

// With what the gallery is given: their names in name order and the note of each.
void BM_NearMissesWithNotes(benchmark::State& state)
{
    SearchEngine engine(fullCatalogue());
    const Selection sel = nothingFound();
    for (auto _ : state) {
        const NearMisses near = engine.nearMisses(sel);
        QStringList names;
        QStringList notes;
        near.all().forEach([&](int place) {
            names << engine.nameAt(place);
            notes << NearMissNote::text(near.categoryOf(place), sel, fullCatalogue().slot(engine.slotAt(place)));
        });
        benchmark::DoNotOptimize(notes);
    }
}
BENCHMARK(BM_NearMissesWithNotes)->Unit(benchmark::kMicrosecond);

void BM_StagedNestedScans(benchmark::State& state)
{
    const Selection sel = everything();
    for (auto _ : state) {
        QStringList r = stagedSearch(fullCatalogue(), sel, 4);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_StagedNestedScans)->Unit(benchmark::kMillisecond);

void BM_PointingCount(benchmark::State& state)
{
    const QString spring = CategoryTables::storedName(0, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(fullCatalogue().countWith(0, spring));
}
BENCHMARK(BM_PointingCount)->Unit(benchmark::kMicrosecond);

void BM_IndexRebuild(benchmark::State& state)
{
    SearchEngine engine(fullCatalogue());
    for (auto _ : state)
        engine.rebuild();
}
BENCHMARK(BM_IndexRebuild)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
