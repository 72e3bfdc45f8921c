#pragma once

#include "core/capture/CCaptureData.h"

#include <filesystem>
#include <string>
#include <vector>

namespace varnolt {

class UserPrompt;

// What joining capture files came to.
struct JoinResult {
    bool ok = false;
    std::string reason;             // why the files were refused, naming the file; empty when ok
    std::vector<std::string> files; // a line per file read: its records and conditions
    RecordCount total = 0;          // records of the files read
};

// Joins the capture files INPUTS (those of one automatic-saving run), in the order given, into
// one capture file at OUTPUT with the first file's header. Refuses, with the reason and without
// writing anything, a file that cannot be read or is damaged, files whose communication
// conditions (line mode, speed, data bits, stop bits, parity, transmit output) or record width
// differ from the first file's, more records together than a capture holds (4,000,000), an OUTPUT
// that is one of the inputs, and an OUTPUT that already holds a capture of the run (one with the
// first file's conditions: most likely a file of the run named where the output belongs), which
// is never overwritten. CHECKONLY reads and checks but writes nothing; OUTPUT is then unused. The
// output is written atomically (WriteBinaryFile): a failed write leaves no half file and OUTPUT as
// it was. The file reader's own messages go to PROMPT.
[[nodiscard]] JoinResult JoinCaptureFiles(const std::vector<std::filesystem::path>& inputs,
                                          const std::filesystem::path& output, bool checkOnly,
                                          UserPrompt& prompt);

} // namespace varnolt
