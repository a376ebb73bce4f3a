#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every harness shares: the input as bytes, and the check of a property that must hold for any
// input. A failed property aborts, so libFuzzer keeps the input that broke it as a finding.
namespace fuzz {

[[noreturn]] inline void failed(const char* property, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
    std::abort();
}

// The input without a copy; like a file's bytes, but with no terminating zero to lean on.
inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A file holding the bytes, for the readers that take a file name. It is made anew each time: a file
// truncated and written again is flushed to disk at once by some file systems.
QString fileHolding(const QByteArray& bytes, const char* name);

// Whether every line of the bytes ends in CR LF, the last one included: the form the program writes.
bool writtenForm(const QByteArray& bytes);

} // namespace fuzz

#define FUZZ_REQUIRE(property) ((property) ? void() : fuzz::failed(#property, __FILE__, __LINE__))
