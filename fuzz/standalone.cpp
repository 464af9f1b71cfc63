// Runs the fuzz target without a fuzzing engine: on the files named on the
// command line, or on a number of random inputs built from a small alphabet
// that makes separators, blanks and repeats likely.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size);

int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
  if (argc > 1 && std::string(argv[1]) != "--random") {
    for (int i = 1; i < argc; ++i) {
      std::ifstream in(argv[i], std::ios::binary);
      std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    }
    return 0;
  }
  long rounds = argc > 2 ? std::atol(argv[2]) : 20000;
  const char alphabet[] = {'a', 'b', ',', '=', ' ', '\t', '\0', '\xff', '\x80', '\xe9', '1', '-'};
  std::mt19937 rng(20261205);
  std::string data;
  for (long r = 0; r < rounds; ++r) {
    data.clear();
    for (int n = static_cast<int>(rng() % 40); n > 0; --n)
      data += rng() % 8 ? alphabet[rng() % sizeof alphabet] : static_cast<char>(rng());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  }
  std::printf("%ld random inputs checked\n", rounds);
  return 0;
}
