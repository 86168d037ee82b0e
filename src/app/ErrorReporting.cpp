#include "app/ErrorReporting.h"

#include <memory>
#include <new>

#include "commands/CommandErrors.h"
#include "platform/Boxes.h"

namespace kivo {
namespace {

// Enough for a message box and the painting of it.
constexpr std::size_t kReserveBytes = 16 * 1024 * 1024;

std::unique_ptr<char[]>& reserve() {
    static std::unique_ptr<char[]> bytes;
    return bytes;
}

// The out-of-memory text as the error box shows it, made without
// allocating: the moment it is needed is the moment allocations fail.
const QString& outOfMemoryText() {
    static const QString text = QStringLiteral("メモリが不足しています.");
    return text;
}

void reportOutOfMemory(Boxes& boxes) noexcept {
    reserve().reset();
    try {
        boxes.error(outOfMemoryText());
    } catch (...) {
        // Not even the box could be shown; the program goes on regardless.
    }
    holdMemoryReserve();
}

void showError(Boxes& boxes, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        reportOutOfMemory(boxes);
        return;
    } catch (...) {
    }
    if (const std::optional<std::string> text = commandErrorText(error)) {
        boxes.error(QString::fromStdString(*text));
    }
}

}  // namespace

void holdMemoryReserve() noexcept {
    if (reserve()) return;
    try {
        // Left untouched: it reserves address space, not resident pages.
        reserve() = std::make_unique_for_overwrite<char[]>(kReserveBytes);
    } catch (const std::bad_alloc&) {
        // Still short of memory; the next report tries again.
    }
}

bool memoryReserveHeld() noexcept { return reserve() != nullptr; }

void reportCommandError(Boxes& boxes, std::exception_ptr error) noexcept {
    try {
        showError(boxes, error);
    } catch (...) {
        // Telling the user failed, most likely for want of memory.
        reportOutOfMemory(boxes);
    }
}

}  // namespace kivo
