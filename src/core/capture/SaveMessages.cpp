#include "core/capture/SaveMessages.h"

#include "core/platform/FileError.h"

namespace varnolt {

namespace {

std::string NameAndRecords(const std::filesystem::path& name, RecordCount records) {
    return PathText(name) + "（" + std::to_string(records) + " 件の記録）";
}

} // namespace

std::string RefusedSaveMessage(const std::filesystem::path& name, RecordCount records) {
    return "保存が追いつかないため、次のファイルを保存しませんでした: " +
           NameAndRecords(name, records);
}

std::string RefusedWhileKeptMessage(const std::filesystem::path& name, RecordCount records) {
    return "保存できなかったファイルがたまっているため、次のファイルを保存しませんでした: " +
           NameAndRecords(name, records);
}

std::string FolderGoneMessage(const std::filesystem::path& folder) {
    return "自動ファイル保存先 " + PathText(folder) +
           " が見つかりません。保存できなかったファイルは、保存できるようになるまで保持します。";
}

std::string KeptAfterErrorMessage(const std::string& error, RecordCount records) {
    return error + "\nこのファイル（" + std::to_string(records) +
           " 件の記録）は、保存できるようになるまで保持します。";
}

} // namespace varnolt
