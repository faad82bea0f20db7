// Recordset speed and memory against hand-written code over the same column data: Filter, Sort,
// Find and a full copy against loops over plain vectors, Clone and reaching a row of a filtered,
// sorted view at 200,000 rows against the same at 10,000, and the bytes held per row against the
// raw columns.
#include "outside/recordset.h"
#include "bench/ratio.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace qv {
namespace {

constexpr int kSmall = 10000;
constexpr int kLarge = 200000;

// The 30 fields of a stock list: 10 doubles, 8 longs, 4 small integers, 3 booleans, 2 dates and
// 3 texts, held as the plain vectors hand-written code would use.
struct RawColumns {
    std::vector<std::vector<double>> Doubles = std::vector<std::vector<double>>(10);
    std::vector<std::vector<int32_t>> Longs = std::vector<std::vector<int32_t>>(8);
    std::vector<std::vector<int16_t>> Integers = std::vector<std::vector<int16_t>>(4);
    std::vector<std::vector<uint8_t>> Booleans = std::vector<std::vector<uint8_t>>(3);
    std::vector<std::vector<double>> Dates = std::vector<std::vector<double>>(2);
    std::vector<std::vector<std::string>> Texts = std::vector<std::vector<std::string>>(3);

    const std::vector<double>& Price() const { return Doubles[0]; }
    const std::vector<int32_t>& Group() const { return Longs[1]; }
    const std::vector<int32_t>& IndCode() const { return Longs[3]; }
    const std::vector<std::string>& Symbol() const { return Texts[0]; }
};

struct Dataset {
    RawColumns Raw;
    std::shared_ptr<Recordset> Rows;
};

template <class T>
size_t RawBytes(const std::vector<std::vector<T>>& p_columns) {
    size_t bytes = 0;
    for (const auto& column : p_columns) {
        bytes += column.size() * sizeof(T);
    }
    return bytes;
}

size_t RawBytes(const RawColumns& p_raw) {
    size_t bytes = RawBytes(p_raw.Doubles) + RawBytes(p_raw.Longs) + RawBytes(p_raw.Integers) +
                   RawBytes(p_raw.Booleans) + RawBytes(p_raw.Dates) + RawBytes(p_raw.Texts);
    const size_t inlineCapacity = std::string().capacity();
    for (const auto& column : p_raw.Texts) {
        for (const std::string& text : column) {
            bytes += text.size() > inlineCapacity ? text.size() + 1 : 0;
        }
    }
    return bytes;
}

std::string RandomSymbol(std::mt19937& p_random) {
    std::string symbol;
    const int length = 1 + static_cast<int>(p_random() % 5);
    for (int i = 0; i < length; ++i) {
        symbol += static_cast<char>('A' + p_random() % 26);
    }
    return symbol == "IBM" ? "IBN" : symbol;
}

RawColumns MakeRaw(int p_iRows) {
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int32_t> cents(100, 50000);
    RawColumns raw;
    for (int row = 0; row < p_iRows; ++row) {
        for (auto& column : raw.Doubles) {
            column.push_back(cents(random) / 100.0);
        }
        for (size_t i = 0; i < raw.Longs.size(); ++i) {
            raw.Longs[i].push_back(static_cast<int32_t>(random() % (i == 1 ? 14 : 60)) -
                                   (i == 1 ? 3 : 0));
        }
        for (auto& column : raw.Integers) {
            column.push_back(static_cast<int16_t>(random() % 12));
        }
        for (auto& column : raw.Booleans) {
            column.push_back(static_cast<uint8_t>(random() % 2));
        }
        for (auto& column : raw.Dates) {
            column.push_back(45000 + static_cast<double>(random() % 3000));
        }
        const bool last = row == p_iRows - 1;
        raw.Texts[0].push_back(last ? "IBM" : RandomSymbol(random));
        raw.Texts[1].push_back((last ? "International " : "Company Holdings ") +
                               std::to_string(random() % 100000) + " Inc");
        raw.Texts[2].push_back(std::string(1, "BSH"[random() % 3]));
    }
    return raw;
}

std::shared_ptr<Recordset> MakeRecordset(const RawColumns& p_raw) {
    auto recordset = std::make_shared<Recordset>();
    qv::Fields& fields = recordset->Fields();
    const char* doubles[] = {"Price",  "Open", "High",  "Low",  "Close",
                             "Change", "Pe",   "Yield", "Beta", "Cap"};
    const char* longs[] = {"Volume", "Group",   "DataType_ID", "IndCode",
                           "Rank",   "Tradeid", "Shares",      "Stock_ID"};
    for (const char* name : doubles) {
        fields.Append(name, adDouble);
    }
    for (const char* name : longs) {
        fields.Append(name, adInteger);
    }
    for (const char* name : {"Sectorcode", "Grade", "Trend", "Risk"}) {
        fields.Append(name, adSmallInt);
    }
    for (const char* name : {"selected", "Optionable", "Held"}) {
        fields.Append(name, adBoolean);
    }
    fields.Append("Trading_Date", adDBTimeStamp);
    fields.Append("Updated", adDate);
    fields.Append("Symbol", adVarChar, 10);
    fields.Append("CompanyName", adVarWChar, 60);
    fields.Append("REC", adChar, 1);
    recordset->Open();
    std::vector<Variant> values(30);
    for (size_t row = 0; row < p_raw.Price().size(); ++row) {
        size_t field = 0;
        for (const auto& column : p_raw.Doubles) {
            values[field++] = column[row];
        }
        for (const auto& column : p_raw.Longs) {
            values[field++] = column[row];
        }
        for (const auto& column : p_raw.Integers) {
            values[field++] = column[row];
        }
        for (const auto& column : p_raw.Booleans) {
            values[field++] = column[row] != 0;
        }
        for (const auto& column : p_raw.Dates) {
            values[field++] = Variant::Date(column[row]);
        }
        for (const auto& column : p_raw.Texts) {
            values[field++] = column[row];
        }
        recordset->AddNew(values);
    }
    recordset->MoveFirst();
    return recordset;
}

const Dataset& DataOf(int p_iRows) {
    static std::map<int, Dataset> datasets;
    auto found = datasets.find(p_iRows);
    if (found == datasets.end()) {
        Dataset dataset;
        dataset.Raw = MakeRaw(p_iRows);
        dataset.Rows = MakeRecordset(dataset.Raw);
        found = datasets.emplace(p_iRows, std::move(dataset)).first;
    }
    return found->second;
}

bool EqualsIgnoringCase(const std::string& p_sLeft, const char* p_sRight, size_t p_lLength) {
    if (p_sLeft.size() != p_lLength) {
        return false;
    }
    for (size_t i = 0; i < p_lLength; ++i) {
        if (std::tolower(static_cast<unsigned char>(p_sLeft[i])) !=
            std::tolower(static_cast<unsigned char>(p_sRight[i]))) {
            return false;
        }
    }
    return true;
}

int CompareIgnoringCase(const std::string& p_sLeft, const std::string& p_sRight) {
    const size_t common = std::min(p_sLeft.size(), p_sRight.size());
    for (size_t i = 0; i < common; ++i) {
        const int left = std::tolower(static_cast<unsigned char>(p_sLeft[i]));
        const int right = std::tolower(static_cast<unsigned char>(p_sRight[i]));
        if (left != right) {
            return left < right ? -1 : 1;
        }
    }
    return p_sLeft.size() < p_sRight.size() ? -1 : (p_sLeft.size() > p_sRight.size() ? 1 : 0);
}

void BM_Filter(benchmark::State& p_state) {
    Recordset& recordset = *DataOf(static_cast<int>(p_state.range(0))).Rows;
    for (auto _ : p_state) {
        recordset.SetFilter("Group <> 5 and Price > 50 or IndCode = 12");
        benchmark::DoNotOptimize(recordset.RecordCount());
    }
    recordset.SetFilter("");
}

void BM_FilterLoop(benchmark::State& p_state) {
    const RawColumns& raw = DataOf(static_cast<int>(p_state.range(0))).Raw;
    std::vector<uint32_t> rows;
    for (auto _ : p_state) {
        rows.clear();
        const auto size = static_cast<uint32_t>(raw.Price().size());
        for (uint32_t row = 0; row < size; ++row) {
            if ((raw.Group()[row] != 5 && raw.Price()[row] > 50) || raw.IndCode()[row] == 12) {
                rows.push_back(row);
            }
        }
        benchmark::DoNotOptimize(rows.data());
    }
}

void BM_Sort(benchmark::State& p_state) {
    Recordset& recordset = *DataOf(static_cast<int>(p_state.range(0))).Rows;
    for (auto _ : p_state) {
        recordset.SetSort("[Price] DESC,Symbol ASC");
        benchmark::DoNotOptimize(recordset.ViewRowId(0));
    }
    recordset.SetSort("");
}

void BM_SortPairs(benchmark::State& p_state) {
    const RawColumns& raw = DataOf(static_cast<int>(p_state.range(0))).Raw;
    std::vector<std::pair<double, uint32_t>> pairs;
    for (auto _ : p_state) {
        pairs.clear();
        for (uint32_t row = 0; row < raw.Price().size(); ++row) {
            pairs.emplace_back(raw.Price()[row], row);
        }
        std::stable_sort(pairs.begin(), pairs.end(), [&](const auto& p_left, const auto& p_right) {
            if (p_left.first != p_right.first) {
                return p_left.first > p_right.first;
            }
            return CompareIgnoringCase(raw.Symbol()[p_left.second], raw.Symbol()[p_right.second]) <
                   0;
        });
        benchmark::DoNotOptimize(pairs.data());
    }
}

void BM_Find(benchmark::State& p_state) {
    Recordset& recordset = *DataOf(static_cast<int>(p_state.range(0))).Rows;
    for (auto _ : p_state) {
        recordset.MoveFirst();
        recordset.Find("Symbol = 'IBM'");
        benchmark::DoNotOptimize(recordset.AbsolutePosition());
    }
}

void BM_FindLoop(benchmark::State& p_state) {
    const RawColumns& raw = DataOf(static_cast<int>(p_state.range(0))).Raw;
    for (auto _ : p_state) {
        size_t row = 0;
        while (row < raw.Symbol().size() && !EqualsIgnoringCase(raw.Symbol()[row], "IBM", 3)) {
            ++row;
        }
        benchmark::DoNotOptimize(row);
    }
}

void BM_Clone(benchmark::State& p_state) {
    const Recordset& recordset = *DataOf(static_cast<int>(p_state.range(0))).Rows;
    for (auto _ : p_state) {
        std::shared_ptr<Recordset> clone = recordset.Clone();
        benchmark::DoNotOptimize(clone.get());
    }
}

void BM_Copy(benchmark::State& p_state) {
    const Recordset& recordset = *DataOf(static_cast<int>(p_state.range(0))).Rows;
    for (auto _ : p_state) {
        std::shared_ptr<Recordset> copy = recordset.Copy();
        benchmark::DoNotOptimize(copy.get());
    }
}

void BM_CopyColumns(benchmark::State& p_state) {
    const RawColumns& raw = DataOf(static_cast<int>(p_state.range(0))).Raw;
    for (auto _ : p_state) {
        RawColumns copy = raw;
        benchmark::DoNotOptimize(copy.Doubles.data());
    }
}

// Reaches 64 rows spread over a filtered, sorted view, by position as the cursor does and by row
// id as the grid painter does. The same rows each time, so that the cache serves both sizes alike
// and only the work of finding a row is compared.
void BM_ViewRow(benchmark::State& p_state) {
    std::shared_ptr<Recordset> view = DataOf(static_cast<int>(p_state.range(0))).Rows->Clone();
    view->SetFilter("Price > 100");
    view->SetSort("[Price] DESC,Symbol ASC");
    std::vector<int32_t> positions;
    for (int32_t i = 0; i < 64; ++i) {
        positions.push_back(1 + i * (view->RecordCount() / 64));
    }
    const int32_t price = view->Fields().IndexOf("Price");
    for (auto _ : p_state) {
        for (const int32_t position : positions) {
            view->SetAbsolutePosition(position);
            benchmark::DoNotOptimize(view->Value(price));
            benchmark::DoNotOptimize(view->ValueAt(view->ViewRowId(position - 1), price));
        }
    }
}

void PrintMemory(int p_iRows, const char* p_sName) {
    const Dataset& data = DataOf(p_iRows);
    const auto bytes = static_cast<double>(data.Rows->MemoryBytes());
    const auto raw = static_cast<double>(RawBytes(data.Raw));
    std::printf("recordset bytes per row at %d rows: %.1f (raw columns %.1f)\n", p_iRows,
                bytes / p_iRows, raw / p_iRows);
    bench::PrintRatio(p_sName, bytes / raw, 1.5);
}

BENCHMARK(BM_Filter)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterLoop)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sort)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortPairs)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Find)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindLoop)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Clone)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Copy)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyColumns)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewRow)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qv

int main(int argc, char** argv) {
    using qv::bench::RatioSpec;
    const std::vector<RatioSpec> ratios = {
        {"recordset.filter.10k", "BM_Filter/10000", "BM_FilterLoop/10000", 3},
        {"recordset.filter.200k", "BM_Filter/200000", "BM_FilterLoop/200000", 3},
        {"recordset.sort.10k", "BM_Sort/10000", "BM_SortPairs/10000", 2},
        {"recordset.sort.200k", "BM_Sort/200000", "BM_SortPairs/200000", 2},
        {"recordset.find.10k", "BM_Find/10000", "BM_FindLoop/10000", 3},
        {"recordset.find.200k", "BM_Find/200000", "BM_FindLoop/200000", 3},
        {"recordset.clone", "BM_Clone/200000", "BM_Clone/10000", 1.5},
        {"recordset.copy.10k", "BM_Copy/10000", "BM_CopyColumns/10000", 3},
        {"recordset.copy.200k", "BM_Copy/200000", "BM_CopyColumns/200000", 3},
        {"recordset.view_row", "BM_ViewRow/200000", "BM_ViewRow/10000", 1.5},
    };
    const int status = qv::bench::RunWithRatios(argc, argv, ratios);
    qv::PrintMemory(qv::kSmall, "recordset.memory.10k");
    qv::PrintMemory(qv::kLarge, "recordset.memory.200k");
    return status;
}
