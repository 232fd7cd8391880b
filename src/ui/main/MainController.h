#pragma once
// The main window's behaviour: previewing articles, stepping through them,
// the toolbar, and the window side of an extraction run.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "favourites/FavoritesStore.h"
#include "feed/Article.h"
#include "feed/ExtractionRun.h"
#include "ui/main/MainWindow.h"

namespace orv {

// How the main window opens the windows other parts of the program build.
// Each is optional; a button whose window does not exist does nothing.
struct MainWindowSeams {
  // Builds the favourites window (hidden, owned by `owner`).
  std::function<QWidget*(QWidget* owner)> createFavoritesWindow;
  // Builds the download window (hidden, owned by `owner`).
  std::function<QWidget*(QWidget* owner)> createDownloadWindow;
  // Runs the settings window modally; returns when it closes.
  std::function<void(QWidget* owner)> runSettingsWindow;
  // Adds the previewed article to the favourites and sets the add button.
  std::function<void()> addPreviewToFavorites;
};

class MainController : public QObject {
  Q_OBJECT
 public:
  struct Shared {
    std::shared_ptr<ArticleStore> articles;
    std::shared_ptr<FavoritesStore> favorites;
    std::shared_ptr<FeedSettings> settings;
    std::shared_ptr<KeywordList> keywords;
    std::shared_ptr<const FeedClient> client;
    std::shared_ptr<RunSlot> runs;
  };

  MainController(MainWindow& window, Shared shared, QString runDirectory);

  MainWindowSeams& seams() { return seams_; }

  // Previews the list's current row in the web view.
  void PreviewCurrentRow();
  // The read-list action: starts an extraction unless one is running.
  void RequestExtraction();
  void StartExtraction();

  // Loads the download window now (it is hidden until the user opens it).
  void LoadDownloadWindow();
  QWidget* favoritesWindow() const { return favoritesWindow_; }
  QWidget* downloadWindow() const { return downloadWindow_; }
  QWidget* aboutWindow() const { return aboutWindow_; }

  int previewRow() const { return previewRow_.load(); }
  // The window side of extraction runs.
  std::shared_ptr<ExtractionView> extractionView() const { return view_; }

  // Preview caption prefix; the title is taken back by removing it.
  static const QString kCaptionPrefix;

 private:
  friend class MainExtractionView;

  void ShowPrevious();
  void ShowNext();
  void ClosePreview();
  void OpenInBrowser();
  void OnNavigationStarting();
  void OnLoadCompleted();
  void ShortenCaption();
  void ToggleWindow(QPointer<QWidget>& window, SuperButton* button,
                    const std::function<QWidget*(QWidget*)>& create);
  void OpenSettings();
  void OpenAbout();
  void SelectRow(int row);

  MainWindow& window_;
  Shared shared_;
  QString runDirectory_;
  MainWindowSeams seams_;
  std::shared_ptr<ExtractionView> view_;
  // Touched on the window thread only: the run's window calls are carried there.
  std::atomic<int> previewRow_{0};
  QPointer<QWidget> favoritesWindow_;
  QPointer<QWidget> downloadWindow_;
  QPointer<QWidget> aboutWindow_;
};

}  // namespace orv
