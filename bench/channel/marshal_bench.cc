// 9999 numbers written as one array text and read back, as the channel
// does, against the plain conversions of the same numbers.

#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <type_traits>
#include <vector>

#include "app/marshal/array_text.h"
#include "app/marshal/number_text.h"

namespace {

std::vector<double> doubles() {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> range(-1e6, 1e6);
  std::vector<double> numbers(kMaxArrayElements);
  for (double& d : numbers) d = range(random);
  return numbers;
}

std::vector<int32_t> integers() {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> range(INT32_MIN, INT32_MAX);
  std::vector<int32_t> numbers(kMaxArrayElements);
  for (int32_t& n : numbers) n = range(random);
  return numbers;
}

// Reads an array text of kind-0 elements back into numbers, as
// return_to_v8value does before it makes each value. Like the text and the
// numbers, the element list keeps its storage from run to run.
void read_numbers(const std::string& text, std::vector<ElementText>& elements, std::vector<double>& out) {
  read_array_text(text, elements);
  out.clear();
  for (const ElementText& element : elements)
    out.push_back(element.has_number ? element.number : *parse_double(element.value));
}

// Writes the numbers as v8value_to_return writes script numbers: those that
// are 32-bit integers as integers, the others as doubles.
template <class Number>
void write_numbers(const std::vector<Number>& numbers, std::string& text) {
  text.clear();
  ArrayTextWriter writer(text);
  for (Number n : numbers) {
    if constexpr (std::is_integral_v<Number>) writer.int_element(n);
    else writer.number_element(n);
  }
  writer.finish();
}

template <class Number>
void ArrayText(benchmark::State& state, const std::vector<Number>& numbers) {
  std::string text;
  std::vector<ElementText> elements;
  std::vector<double> back;
  for (auto _ : state) {
    write_numbers(numbers, text);
    read_numbers(text, elements, back);
    benchmark::DoNotOptimize(back.data());
  }
  state.SetItemsProcessed(state.iterations() * numbers.size());
}

template <class Number>
void PlainConversions(benchmark::State& state, const std::vector<Number>& numbers) {
  char buffer[64];
  for (auto _ : state) {
    Number sum = 0;
    for (Number n : numbers) {
      const auto written = std::to_chars(buffer, buffer + sizeof buffer, n);
      Number back = 0;
      std::from_chars(buffer, written.ptr, back);
      sum += back;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * numbers.size());
}

void BM_DoublesArrayText(benchmark::State& state) { ArrayText(state, doubles()); }
void BM_DoublesBaseline(benchmark::State& state) { PlainConversions(state, doubles()); }
void BM_IntegersArrayText(benchmark::State& state) { ArrayText(state, integers()); }
void BM_IntegersBaseline(benchmark::State& state) { PlainConversions(state, integers()); }
// The same integers as the doubles script numbers are.
void BM_IntegersAsDoublesBaseline(benchmark::State& state) {
  const std::vector<int32_t> numbers = integers();
  PlainConversions(state, std::vector<double>(numbers.begin(), numbers.end()));
}

BENCHMARK(BM_DoublesArrayText);
BENCHMARK(BM_DoublesBaseline);
BENCHMARK(BM_IntegersArrayText);
BENCHMARK(BM_IntegersBaseline);
BENCHMARK(BM_IntegersAsDoublesBaseline);

}  // namespace
