#pragma once
// The application object: routes any error that escapes an event handler to
// the error box and keeps tooltips from ever showing.
#include <QApplication>
#include <memory>

namespace kivo {

class Boxes;

class KivoApplication : public QApplication {
    Q_OBJECT
public:
    KivoApplication(int& argc, char** argv);
    ~KivoApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    Boxes& boxes() { return *boxes_; }
    // Tests answer the boxes themselves.
    void setBoxes(std::unique_ptr<Boxes> boxes);

private:
    std::unique_ptr<Boxes> boxes_;
};

}  // namespace kivo
