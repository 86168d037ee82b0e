#include "app/ErrorReporting.h"

#include <new>

#include "core/Errors.h"
#include "platform/Boxes.h"

namespace kivo {

QString errorBoxText(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.')) return text + QLatin1Char('.');
    return text;
}

void reportCommandError(Boxes& boxes, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const SilentCancel&) {
        // The user cancelled; there is nothing to tell.
    } catch (const std::bad_alloc&) {
        boxes.error(errorBoxText(QStringLiteral("メモリが不足しています")));
    } catch (const std::exception& e) {
        boxes.error(errorBoxText(QString::fromUtf8(e.what())));
    } catch (...) {
        boxes.error(errorBoxText(QStringLiteral("予期しないエラーが発生しました")));
    }
}

}  // namespace kivo
