#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace FuzzSupport {

// A core application for the whole run, so that Qt finds its plugins and
// text codecs as it does in the program.
void startQt();
// A folder private to this run, removed when the process ends.
QString scratchFolder();
// Writes the bytes to a file of that name in the scratch folder.
QString writeScratch(const QString& name, const QByteArray& bytes);
QByteArray bytesOf(const uint8_t* data, size_t size);
// Stops the run with a message that the fuzzer shows beside the input.
[[noreturn]] void fail(const char* what);

}  // namespace FuzzSupport
