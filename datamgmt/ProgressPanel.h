#pragma once
// The contents of the main window's progress panel: a title strip, the
// file-copy animation, two progress bars and a status line. It is also the
// DataProgress of the operations run from the main window.
#include "DataOperation.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;

namespace lumo
{

// A small animation of a sheet travelling from one folder to another,
// frames 0 to 35.
class FileCopyAnimation : public QWidget
{
    Q_OBJECT
public:
    explicit FileCopyAnimation(QWidget* parent = nullptr);
    void start();
    void stop();
    bool active() const;
    int frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* m_timer;
    int m_frame = 0;
};

class ProgressPanel : public QWidget, public DataProgress
{
    Q_OBJECT
public:
    // Fills `panel` (the main window's suiImagePanel3) and takes over its
    // showing and hiding.
    explicit ProgressPanel(QFrame* panel);

    // DataProgress
    void begin() override;
    void setText(const QString& text) override;
    void setBar(int bar, int percent) override;
    void end() override;
    void processEvents() override;

    QFrame* suiImagePanel4;
    QLabel* Label8;
    FileCopyAnimation* Animate1;
    QProgressBar* suiProgressBar1;
    QProgressBar* suiProgressBar2;
    QLineEdit* Label7;

private:
    QFrame* m_panel;
};

// Progress of the compaction, which has no archive to report on: only the
// message loop runs.
class EventLoopProgress : public DataProgress
{
public:
    void processEvents() override;
};

} // namespace lumo
