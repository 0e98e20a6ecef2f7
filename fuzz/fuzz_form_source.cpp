// The form descriptions: any bytes parse to descriptions, faults and line
// errors, and are checked against a record, never a crash.
#include "FuzzSupport.h"
#include "generators/FormRules.h"
#include "generators/FormSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytesOf(data, size);
    const FormSource::Result r = FormSource::parse(bytes, "fuzz.tsv");
    const FlowerRecord record{"ハナ", "春", "白系", "花弁５枚型", "互生", "キク科", "キク科", "hana.jpg", ""};
    for (const FormSource::Entry& e : r.entries)
        FormRules::check(e.form, record);
    // Every description came from a line of its own.
    if (r.entries.size() + r.errors.size() > bytes.count('\n') + 1)
        FuzzSupport::fail("more descriptions and errors than lines");
    return 0;
}
