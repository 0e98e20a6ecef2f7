// The text source of the catalogue: any bytes parse to records and line
// errors, never a crash.
#include "FuzzSupport.h"
#include "generators/CatalogueSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CatalogueSource::Result r = CatalogueSource::parse(FuzzSupport::bytesOf(data, size), "fuzz.tsv");
    // Every record came from a line of its own.
    if (r.records.size() + r.errors.size() > FuzzSupport::bytesOf(data, size).count('\n') + 1)
        FuzzSupport::fail("more records and errors than lines");
    return 0;
}
