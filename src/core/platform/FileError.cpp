#include "core/platform/FileError.h"

#include <cerrno>

namespace varnolt {

FileError FileErrorFromErrno(int error, bool writing) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return FileError::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return FileError::DiskFull;
    default:
        return writing ? FileError::WriteFault : FileError::ReadFault;
    }
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string FileErrorMessage(FileError error, const std::filesystem::path& path) {
    const std::string name = PathText(path);
    switch (error) {
    case FileError::None:
        return {};
    case FileError::NotFound:
        return name + " が見つかりません。";
    case FileError::AccessDenied:
        return name + " へのアクセスが拒否されました。";
    case FileError::EndOfFile:
        return name + " の読み込み中に、予期しないファイルの終わりに達しました。";
    case FileError::ReadFault:
        return name + " の読み込み中にエラーが発生しました。";
    case FileError::WriteFault:
        return name + " の書き込み中にエラーが発生しました。";
    case FileError::DiskFull:
        return "ディスクがいっぱいのため、" + name + " を書き込めませんでした。";
    case FileError::OpenFailed:
        return name + " を開けませんでした。";
    }
    return name + " の処理中にエラーが発生しました。";
}

} // namespace varnolt
