#include "catalog/messages.h"

#include <cerrno>
#include <cstring>

namespace qbr::msg {

namespace {

std::string replaceFirst(std::string_view pattern, std::string_view marker,
                         std::string_view value) {
    std::string out(pattern);
    if (auto at = out.find(marker); at != std::string::npos)
        out.replace(at, marker.size(), value);
    return out;
}

} // namespace

std::string formatNumber(std::string_view pattern, std::int64_t value) {
    return replaceFirst(pattern, "%d", std::to_string(value));
}

std::string formatText(std::string_view pattern, std::string_view text) {
    return replaceFirst(pattern, "%s", text);
}

std::string runtimeMessage(int code) {
    switch (code) {
    case 2:
        return std::string(kFileNotFound);
    case 3:
        return std::string(kInvalidFileName);
    case 4:
        return std::string(kTooManyOpenFiles);
    case 5:
        return std::string(kAccessDenied);
    case 100:
        return std::string(kReadBeyondEnd);
    case 101:
        return std::string(kDiskFull);
    default:
        return formatNumber(kIoError, code);
    }
}

int runtimeCode(int posixErrno) {
    switch (posixErrno) {
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return 5;
    case ENOSPC:
    case EDQUOT:
        return 101;
    default:
        return 0;
    }
}

std::string systemErrorMessage(int posixErrno) {
    // An errno without a message of its own is reported with its own number, which must not
    // be taken for one of the codes above (EIO is 5, the code of "access denied").
    const int code = runtimeCode(posixErrno);
    return code == 0 ? formatNumber(kIoError, posixErrno) : runtimeMessage(code);
}

std::string listIndexMessage(std::int64_t position) {
    return formatNumber(kListIndex, position);
}

std::string systemReason(int posixErrno) {
    const char* description = ::strerrordesc_np(posixErrno);
    return std::string(description ? description : "Unknown error") + " (errno " +
           std::to_string(posixErrno) + ")";
}

std::string withDetail(std::string_view text, std::string_view detail) {
    std::string out(text);
    if (!detail.empty()) {
        out += '\n';
        out += detail;
    }
    return out;
}

} // namespace qbr::msg
