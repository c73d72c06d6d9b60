#pragma once

#include <QWidget>

// frmCheck: a small window saying that the credentials are being checked, with a Cancel button.
class CheckWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CheckWindow(QWidget* parent = nullptr);

signals:
    void cancelClicked();
};
