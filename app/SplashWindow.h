#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

// frmSplash: the program's name and what start-up is doing. Its timer fires once, a second
// after the window is made, to load the main window.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    void setStatus(const QString& text);
    QString status() const;
    QTimer& waitTimer() { return m_tmrWait; }

signals:
    void waited();

private:
    QLabel* m_label3 = nullptr;
    QLabel* m_lblStatus = nullptr;
    QTimer m_tmrWait;
};
