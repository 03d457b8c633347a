// Reading a catalogue of 2,000 releases (goal: under 150 ms) and one filter keystroke over it
// (goal: under 30 ms).
#include <benchmark/benchmark.h>

#include "CatalogueXml.h"
#include "addons/AddOnFilter.h"
#include "addons/CatalogueReader.h"

namespace {

using namespace fenmar::addons;

void BM_ReadCatalogue(benchmark::State& state) {
    const std::string xml =
        fenmar::test::SyntheticCatalogue(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        CatalogueResult result = ReadCatalogue(xml);
        benchmark::DoNotOptimize(result);
        if (result.catalogue.Size() != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("releases lost");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(xml.size()));
}
BENCHMARK(BM_ReadCatalogue)->Arg(2000)->Unit(benchmark::kMillisecond);

// A keystroke: the filter is built once per catalogue, each keystroke matches the new text.
void BM_FilterKeystroke(benchmark::State& state) {
    const CatalogueResult result = ReadCatalogue(fenmar::test::SyntheticCatalogue(2000));
    const AddOnFilter filter(result.catalogue.AddOns());
    const char* texts[] = {"q", "qu", "qui", "quite 19", "author 12", "RELEASE1999"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(filter.Match(texts[i++ % std::size(texts)]));
    }
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

// The same with the filter built afresh on every keystroke.
void BM_FilterFromScratch(benchmark::State& state) {
    const CatalogueResult result = ReadCatalogue(fenmar::test::SyntheticCatalogue(2000));
    for (auto _ : state) {
        benchmark::DoNotOptimize(FilterAddOns(result.catalogue.AddOns(), "quite 19"));
    }
}
BENCHMARK(BM_FilterFromScratch)->Unit(benchmark::kMillisecond);

}  // namespace
