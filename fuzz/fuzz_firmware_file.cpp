// Feeds arbitrary bytes to the firmware-file check and walks the records the update would send.
// Every record read must lie inside the file and give a line of exactly its text length and its
// end byte; the check must refuse exactly the files whose walk ends in a problem or finds no
// "MK" record.

#include "core/link/firmware/FirmwareFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

using namespace varnolt;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    const FirmwareFileCheck check = CheckFirmwareFile(file);
    (void)DescribeFirmwareProblem(check.problem);

    FirmwareFileReader reader(file);
    std::string version;
    FirmwareProblem problem;
    if (!reader.ReadVersion(version, problem)) {
        Check(!check.ok() && check.problem.kind == FirmwareProblem::Kind::NoVersion);
        return 0;
    }
    Check(version == check.version && version.size() == 6);
    bool marked = false;
    int32_t records = 0;
    FirmwareRecord record;
    std::string line;
    FirmwareFileReader::Step step;
    while ((step = reader.Next(record, problem)) == FirmwareFileReader::Step::Record) {
        ++records;
        marked |= record.isMark();
        Check(record.textLength >= kMinRecordText && record.textLength <= kMaxRecordText);
        Check(record.offset + 4 + record.data.size() <= size);
        line.clear();
        AppendRecordText(line, record, 0x0B);
        Check(line.size() == static_cast<size_t>(record.textLength) + 1 && line.back() == 0x0B);
    }
    Check(records == check.records);
    if (step == FirmwareFileReader::Step::Problem) {
        Check(problem.offset < size && problem.kind == check.problem.kind);
    }
    Check(check.ok() == (step == FirmwareFileReader::Step::End && marked));
    return 0;
}
