#pragma once

#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/file_system.h"
#include "catalog/log_scanner.h"
#include "desktop/desktop_shell.h"
#include "desktop/open_file_dialog.h"
#include "desktop/program_icons.h"
#include "posix/file_probe.h"
#include "session/app_session.h"
#include "settings/registry_store.h"
#include "ui/catalog_model.h"
#include "ui/error_guard.h"
#include "ui/picture_box.h"
#include "ui/qbr2.h"
#include "ui/qbr3.h"
#include "ui/speed_button.h"
#include "ui/tree_splitter.h"

#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

namespace qbr::ui {

// The main window: the tool bar, the catalog tree, the detail area with the report pane, and
// the status bar. Every handler runs inside the error guard.
class TForm1 final : public QWidget {
    Q_OBJECT

  public:
    struct Environment {
        // The running program's path, as bytes: the catalog files lie beside it.
        std::string executable;
        FileSystem& fileSystem;
        // The settings (the registry's keys).
        RegistryStore& store;
        ErrorReporter& reporter;
        // The user's decimal separator, also accepted in the stored watermark.
        char localeSeparator = '.';
        // Where the load and save report; none means the progress window Form3.
        CatalogProgressSink* catalogProgress = nullptr;
        // The desktop services of the detail pane and the file actions; none means the real
        // one (stat, GIO icons, the freedesktop shell, QFileDialog).
        platform::FileProbe* fileProbe = nullptr;
        platform::ProgramIcons* programIcons = nullptr;
        platform::DesktopShell* shell = nullptr;
        platform::OpenFileDialog* openFileDialog = nullptr;
    };

    // Builds the window from its design and runs FormCreate; then makes Form2, hidden.
    explicit TForm1(Environment environment);
    ~TForm1() override;

    // The handlers, each run inside the guard by the events that start them.
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void Image1Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    // The detail pane's refresh for the node that has just become selected.
    void TreeView1Change(const QModelIndex& node);

    // The end of a run: the window hidden, then FormDestroy inside the guard.
    void shutDown();

    AppSession& session() { return session_; }
    Catalog& catalog() { return session_.catalog(); }
    CatalogModel& model() { return model_; }
    TForm2& Form2() { return *form2_; }
    // Label1's text as the catalog's bytes: the pane's current file name.
    const std::string& fileName() const { return label1Bytes_; }

    // The window's place as stored at exit.
    WindowGeometry currentGeometry() const;
    int treeWidth() const;
    void setTreeWidth(int width);

    // OpenDialog1, made on first use.
    QFileDialog& OpenDialog1();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Applies what start-up read, in its order; what it did not read keeps the design.
    void applyStartupReads(const StartupReads& reads);

    template <typename Handler> void guarded(Handler&& handler) {
        runGuarded(reporter_, std::forward<Handler>(handler));
    }
    void buildToolBar();
    void buildTree();
    void buildDetailArea();
    void buildStatusBar();
    void wireEvents();
    // A scan from the watermark, or of every log, shown in Memo1 and Form2.
    void runScan(bool everyLog);

    SpeedButton& speedButton(int number) const {
        return *speedButtons_[static_cast<std::size_t>(number - 1)];
    }
    void setLabel1(std::string bytes);
    void setLabel2(const QString& text);
    // Steps 7 to 9 of the refresh: no file name, no file actions, no picture.
    void resetFileSection();

    // Memo1 as the scan's report pane.
    class MemoReport final : public ReportSink {
      public:
        explicit MemoReport(QPlainTextEdit& memo) : memo_(memo) {}
        void appendLine(std::string_view line) override;

      private:
        QPlainTextEdit& memo_;
    };

    ErrorReporter& reporter_;
    // The catalog, the in-memory settings and the watermark, from FormCreate to FormDestroy.
    AppSession session_;
    bool shown_ = false;

    // The desktop services: the given ones, else the real ones owned here.
    std::unique_ptr<platform::FileProbe> ownFileProbe_;
    std::unique_ptr<platform::ProgramIcons> ownProgramIcons_;
    std::unique_ptr<platform::DesktopShell> ownShell_;
    std::unique_ptr<platform::OpenFileDialog> ownOpenFileDialog_;
    platform::FileProbe& fileProbe_;
    platform::ProgramIcons& programIcons_;
    platform::DesktopShell& shell_;
    platform::OpenFileDialog& openFileDialog_;

    CatalogModel model_;
    Form3Progress form3Progress_{this};
    CatalogProgressSink* catalogProgress_;

    // Widgets are members; each is declared after its parent and so destroyed before it.
    std::unique_ptr<QStyle> treeStyle_;
    QVBoxLayout formLayout_{this};
    QWidget panel4_{this};
    std::array<std::unique_ptr<SpeedButton>, 9> speedButtons_;
    QLabel label3_{&panel4_};
    TreeSplitter splitter1_{Qt::Horizontal, this};
    QTreeView treeView1_{&splitter1_};
    QWidget panel1_{&splitter1_};
    QVBoxLayout panel1Layout_{&panel1_};
    QFrame panel3_{&panel1_};
    QWidget panel2_{&panel3_};
    PictureBox image1_{&panel2_};
    QLabel label1_{&panel3_};
    QLabel label2_{&panel3_};
    QPlainTextEdit memo1_{&panel1_};
    QStatusBar statusBar1_{this};
    std::array<std::unique_ptr<QLabel>, 3> statusPanels_;
    std::unique_ptr<QFileDialog> openDialog1_;
    // What Label1 shows, as the catalog holds it; Label1 shows it decoded.
    std::string label1Bytes_;
    // While a delete moves the selection, the refresh waits for the node it ends on.
    bool refreshSuppressed_ = false;

    MemoReport memoReport_{memo1_};
    std::unique_ptr<TForm2> form2_;
};

} // namespace qbr::ui
