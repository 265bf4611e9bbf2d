// Each target defines LLVMFuzzerTestOneInput. Built with clang and
// -fsanitize=fuzzer it is a libFuzzer binary; otherwise driver.cpp supplies a
// main that replays the seeds and a fixed number of deterministic mutations,
// so every build (the sanitizer one included) runs the targets as tests.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
