#pragma once

#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/file_system.h"
#include "catalog/log_scanner.h"
#include "desktop/desktop_shell.h"
#include "desktop/open_file_dialog.h"
#include "desktop/program_icons.h"
#include "pane/detail_pane_presenter.h"
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
    // The desktop services of the detail pane and the file actions, built by the program's
    // main block (tests give fakes).
    struct Services {
        platform::FileProbe& fileProbe;
        platform::ProgramIcons& programIcons;
        platform::DesktopShell& shell;
        platform::OpenFileDialog& openFileDialog;
    };
    struct Environment {
        // The running program's path, as bytes: the catalog files lie beside it.
        std::string executable;
        FileSystem& fileSystem;
        // The settings (the registry's keys).
        RegistryStore& store;
        ErrorReporter& reporter;
        // The user's decimal separator, also accepted in the stored watermark.
        char localeSeparator;
        Services services;
        // Where the load and save report; none means the progress window Form3.
        CatalogProgressSink* catalogProgress = nullptr;
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
    const std::string& fileName() const { return pane_.fileName(); }

    // The window's place as stored at exit.
    WindowGeometry currentGeometry() const;
    int treeWidth() const;
    void setTreeWidth(int width);

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
    // The buttons the detail pane decides.
    SpeedButton& runButton() const { return speedButton(5); }
    SpeedButton& showButton() const { return speedButton(6); }
    SpeedButton& archiveButton() const { return speedButton(7); }
    SpeedButton& searchButton() const { return speedButton(8); }
    SpeedButton& deleteButton() const { return speedButton(9); }
    // The pane's file name in Label1, and its buttons, as the presenter holds them.
    void showFileName();
    void showPaneButtons();
    void setLabel2(const QString& text);
    // No file name, no file actions, no picture: the start of a refresh.
    void clearFileSection();
    // The selected node, or none.
    TreeNode* selectedNode() const;

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
    // The detail pane's state: Label1's file name as bytes (Label1 shows it decoded), the
    // buttons it decides, and whether the refresh waits.
    DetailPanePresenter pane_;

    MemoReport memoReport_{memo1_};
    std::unique_ptr<TForm2> form2_;
};

} // namespace qbr::ui
