#pragma once

#include "catalog/catalog_files.h"

#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <memory>

namespace qbr::ui {

// The load and save progress window: a label and a bar from 0 to 100, at a fixed place on
// the screen, modeless, no border icons.
class TForm3 final : public QWidget {
    Q_OBJECT

  public:
    explicit TForm3(QWidget* owner = nullptr);

    QLabel& Label1() { return label1_; }
    QProgressBar& ProgressBar1() { return progressBar1_; }

  private:
    QLabel label1_{this};
    QProgressBar progressBar1_{this};
};

// The load and save report through TForm3: the window exists from begin() to end() only.
class Form3Progress : public CatalogProgressSink {
  public:
    explicit Form3Progress(QWidget* owner = nullptr) : owner_(owner) {}

    void begin(std::string_view text) override;
    void setPosition(int percent) override;
    void end() override;

    // The window while a load or save runs, else nullptr.
    TForm3* form() const { return form_.get(); }

  private:
    QWidget* owner_;
    std::unique_ptr<TForm3> form_;
};

} // namespace qbr::ui
