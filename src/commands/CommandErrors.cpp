#include "commands/CommandErrors.h"

#include <new>

#include "core/Errors.h"

namespace kivo {

std::string errorBoxText(std::string_view text) {
    std::string out(text);
    if (!out.empty() && static_cast<unsigned char>(out.back()) > '.') out += '.';
    return out;
}

std::optional<std::string> commandErrorText(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const SilentCancel&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return errorBoxText("メモリが不足しています");
    } catch (const std::exception& e) {
        return errorBoxText(e.what());
    } catch (...) {
        return errorBoxText("予期しないエラーが発生しました");
    }
}

}  // namespace kivo
