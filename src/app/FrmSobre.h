#pragma once
#include <QDialog>

// The About window.
class TfrmSobre : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSobre(QWidget* parent = nullptr);
};
