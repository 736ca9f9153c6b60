#pragma once

#include <QPointer>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QWidget>

#include <vector>

namespace fc::ui {

// The widget of a loaded window: routes closing through the layer and gives the
// window its keyboard rules before any control sees the key.
class TopWindow final : public QWidget {
    Q_OBJECT
public:
    TopWindow(QString name, bool escCloses, bool enterMovesFocus);

    const QString& name() const { return name_; }
    void watch(QWidget* control);  // the window sees this control's keys first
    // Default buttons in stored order: Enter clicks the first.
    void addDefaultButton(QPushButton* button) { defaultButtons_.emplace_back(button); }

    // Outer size the design asks for; the client area is fitted to it as soon as
    // the platform tells the frame's size.
    void setOuterSize(QSize outer);
    QSize outerSize() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);
    void fitFrame();

    std::vector<QPointer<QPushButton>> defaultButtons_;
    QString name_;
    bool escCloses_;
    bool enterMovesFocus_;
    QSize outer_;
    QMargins knownFrame_;
};

}  // namespace fc::ui
