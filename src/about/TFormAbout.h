#pragma once
// The About box: a small borderless window created at start-up, hidden until
// asked for. It takes the version text from the main window when created.
#include <QWidget>

class QLabel;

namespace kivo {

class TFormAbout : public QWidget {
    Q_OBJECT
public:
    TFormAbout(const QString& versionText, QWidget* parent = nullptr);

    QLabel* Label2 = nullptr;

private:
    QString FVersionText;
};

}  // namespace kivo
