// SPDX-License-Identifier: MIT
// Reading and writing whole files: the text of an equation file, and a save that replaces a file whole.
#include "app/equation_files.h"

#include "app/text_conversion.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

/// A descriptor closed on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : m_descriptor(descriptor) {}
    ~FileDescriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] int get() const { return m_descriptor; }

private:
    int m_descriptor;
};

/// Bytes of the regular file at path up to its first NUL byte, at most limit of them (more stand for
/// "too many"); nothing when it is no regular file or cannot be read.
std::optional<std::string> readUpToNul(const QString& path, std::size_t limit)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer; the type is then checked on what
    // was opened, so nothing can swap the file in between.
    const FileDescriptor file(::open(toPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;

    std::string bytes;
    char chunk[65536];
    while (bytes.size() <= limit) {
        const ssize_t count = ::read(file.get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        const auto size = static_cast<std::size_t>(count);
        if (const void* nul = std::memchr(chunk, '\0', size)) {
            bytes.append(chunk, static_cast<std::size_t>(static_cast<const char*>(nul) - chunk));
            break;
        }
        bytes.append(chunk, size);
    }
    return bytes;
}

void replaceCrLf(std::string& bytes)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        bytes[kept++] = bytes[i];
    }
    bytes.resize(kept);
}

} // namespace

std::optional<QString> readEquationFile(const QString& path, qsizetype maxLength)
{
    // No UTF-8 sequence and no CR LF takes more than three bytes per UTF-16 character, so more bytes
    // than this always decode to too long a text.
    const std::size_t limit = 3 * static_cast<std::size_t>(maxLength);
    std::optional<std::string> bytes = readUpToNul(path, limit);
    if (!bytes || bytes->size() > limit)
        return std::nullopt;
    replaceCrLf(*bytes);
    QString text = toQString(*bytes);
    if (text.size() > maxLength)
        return std::nullopt;
    return text;
}

bool saveWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace app
