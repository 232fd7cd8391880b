#include "ui/main/MainController.h"

#include "platform/Codepage.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/Shell.h"
#include "platform/toolkit/WindowThread.h"
#include "ui/main/AboutWindow.h"

namespace orv {

const QString MainController::kCaptionPrefix = QStringLiteral("文章预览:");

namespace {

// Longest preview caption, in GB18030 bytes, and what a longer one is cut to.
constexpr size_t kCaptionMaxBytes = 70;
constexpr size_t kCaptionCutBytes = 66;

}  // namespace

// The window side of an extraction run. Every call is carried to the window
// thread and does nothing once the window is gone.
class MainExtractionView : public ExtractionView {
 public:
  MainExtractionView(MainWindow* window, MainController* controller)
      : window_(window), owner_(window), controller_(controller) {}

  void EnterBusy() override {
    OnWindow([](MainWindow& w, MainController& c) {
      w.extractButton()->setEnabled(false);
      w.list()->hide();
      w.busyBand()->show();
      w.webView()->hide();
      c.previewRow_ = 0;
      w.previewCaption()->setText(MainController::kCaptionPrefix);
      w.summary()->setText(QStringLiteral("提取文章中...."));
    });
  }

  void SetSummary(const std::string& text) override {
    OnWindow([&](MainWindow& w, MainController&) { w.summary()->setText(QString::fromStdString(text)); });
  }

  int ShowMessage(const std::string& text, const std::string& title, int flags) override {
    return ShowMessageBox(text, title, owner_, flags);
  }

  int PublishArticles(const std::function<bool()>& stillCurrent,
                      std::shared_ptr<const ArticleList> articles) override {
    int rows = -1;
    OnWindow([&](MainWindow& w, MainController& c) {
      // Checked here, on the window thread, so that the window cannot start
      // going away between the check and the publication.
      if (!stillCurrent()) return;
      c.shared_.articles->Publish(articles);
      c.previewRow_ = -1;
      QListWidget* list = w.list();
      list->setUpdatesEnabled(false);
      list->clear();
      QStringList titles;
      titles.reserve(static_cast<int>(articles->size()));
      for (const ArticleRecord& a : *articles) titles << QString::fromStdString(a.title);
      list->addItems(titles);
      list->setUpdatesEnabled(true);
      rows = list->count();
    });
    return rows;
  }

  void PreviewRow(int row) override {
    OnWindow([row](MainWindow&, MainController& c) {
      c.SelectRow(row);
      c.PreviewCurrentRow();
    });
  }

  void LeaveBusy() override {
    OnWindow([](MainWindow& w, MainController&) {
      w.extractButton()->setChecked(false);
      w.extractButton()->setEnabled(true);
      w.list()->show();
      w.busyBand()->hide();
      w.webView()->show();
    });
  }

 private:
  template <typename F>
  void OnWindow(F&& f) {
    WindowThread::Run([&] {
      if (window_ && controller_) f(*window_, *controller_);
    });
  }

  QPointer<MainWindow> window_;
  QPointer<QWidget> owner_;  // made on the window thread; copied, never dereferenced, by the worker
  QPointer<MainController> controller_;
};

MainController::MainController(MainWindow& window, Shared shared, QString runDirectory)
    : QObject(&window), window_(window), shared_(std::move(shared)), runDirectory_(std::move(runDirectory)) {
  view_ = std::make_shared<MainExtractionView>(&window_, this);
  MainWindow& w = window_;
  connect(w.list(), &QListWidget::itemDoubleClicked, this, [this] { PreviewCurrentRow(); });
  connect(w.prevButton(), &QPushButton::clicked, this, &MainController::ShowPrevious);
  connect(w.nextButton(), &QPushButton::clicked, this, &MainController::ShowNext);
  connect(w.closeButton(), &QPushButton::clicked, this, &MainController::ClosePreview);
  connect(w.browserButton(), &QPushButton::clicked, this, &MainController::OpenInBrowser);
  connect(w.webView(), &WebView::aboutToNavigate, this, &MainController::OnNavigationStarting);
  connect(w.webView(), &WebView::loadCompleted, this, &MainController::OnLoadCompleted);
  connect(w.captionTimer(), &QTimer::timeout, this, &MainController::ShortenCaption);
  w.captionTimer()->start();

  connect(w.extractButton(), &QPushButton::clicked, this, &MainController::RequestExtraction);
  connect(w.likeButton(), &QPushButton::clicked, this, [this] {
    ToggleWindow(favoritesWindow_, window_.likeButton(), seams_.createFavoritesWindow);
  });
  connect(w.downloadButton(), &QPushButton::clicked, this, [this] {
    ToggleWindow(downloadWindow_, window_.downloadButton(), seams_.createDownloadWindow);
  });
  connect(w.configButton(), &QPushButton::clicked, this, &MainController::OpenSettings);
  connect(w.mailIcon(), &PictureBox::leftReleased, this, &MainController::OpenAbout);
  connect(w.addLikeButton(), &QPushButton::clicked, this, [this] {
    if (seams_.addPreviewToFavorites) seams_.addPreviewToFavorites();
  });
}

void MainController::SelectRow(int row) { window_.list()->setCurrentRow(row); }

void MainController::PreviewCurrentRow() {
  window_.addLikeButton()->setEnabled(false);
  QListWidget* list = window_.list();
  const int row = list->currentRow();
  if (list->count() == 0 || row < 0) {
    previewRow_ = -1;
    return;
  }
  window_.previewCaption()->setText(kCaptionPrefix + list->item(row)->text());
  previewRow_ = row;
  // The list and the published articles are refilled in one step, so the
  // row has its record; a stale row simply previews nothing.
  std::shared_ptr<const ArticleList> articles = shared_.articles->Snapshot();
  if (row < static_cast<int>(articles->size())) {
    window_.webView()->setAddress(QString::fromStdString((*articles)[static_cast<size_t>(row)].url));
  }
  window_.webView()->show();
}

void MainController::ShowPrevious() {
  const int row = previewRow_;
  if (row > 0) {
    SelectRow(row - 1);
    PreviewCurrentRow();
  }
}

void MainController::ShowNext() {
  const int row = previewRow_;
  if (row != -1 && row + 1 != window_.list()->count()) {
    SelectRow(row + 1);
    PreviewCurrentRow();
  }
}

void MainController::ClosePreview() {
  WebView* view = window_.webView();
  if (view->address().isEmpty()) return;
  window_.previewCaption()->setText(kCaptionPrefix);
  view->hide();
  // Moves the view off the article; the list and its row stay as they are.
  view->setAddress(runDirectory_);
}

void MainController::OpenInBrowser() { OpenInShell(window_.webView()->address()); }

void MainController::OnNavigationStarting() { window_.addLikeButton()->setEnabled(false); }

void MainController::OnLoadCompleted() {
  const std::string address = window_.webView()->address().toStdString();
  window_.addLikeButton()->setEnabled(shared_.favorites->IsNewFavorite(address, std::string()));
}

void MainController::ShortenCaption() {
  TextLabel* caption = window_.previewCaption();
  const std::string text = caption->text().toStdString();
  if (Gb18030Length(text) > kCaptionMaxBytes) {
    caption->setText(QString::fromStdString(TruncateToGb18030Bytes(text, kCaptionCutBytes) + "...."));
  }
}

void MainController::ToggleWindow(QPointer<QWidget>& window, SuperButton* button,
                                  const std::function<QWidget*(QWidget*)>& create) {
  if (!window && create) window = create(&window_);
  if (!window) {
    button->setChecked(false);
    return;
  }
  window->setVisible(!window->isVisible());
  button->setChecked(window->isVisible());
}

void MainController::LoadDownloadWindow() {
  if (!downloadWindow_ && seams_.createDownloadWindow) downloadWindow_ = seams_.createDownloadWindow(&window_);
}

void MainController::OpenSettings() {
  MainWindow& w = window_;
  w.list()->hide();
  w.busyBand()->show();
  w.webView()->hide();
  if (seams_.runSettingsWindow) seams_.runSettingsWindow(&w);
  const QString address = w.webView()->address();
  if (!address.isEmpty() && address != QLatin1String("about:blank")) w.webView()->show();
  w.configButton()->setChecked(false);
  w.busyBand()->hide();
  w.list()->show();
}

void MainController::OpenAbout() {
  if (!aboutWindow_) aboutWindow_ = new AboutWindow(&window_);
  aboutWindow_->show();
  aboutWindow_->raise();
  aboutWindow_->activateWindow();
}

void MainController::RequestExtraction() {
  if (!window_.extractButton()->isEnabled()) return;
  StartExtraction();
}

void MainController::StartExtraction() {
  window_.extractButton()->setEnabled(false);
  ExtractionContext context;
  context.settings = shared_.settings;
  context.keywords = shared_.keywords;
  context.client = shared_.client;
  context.view = view_;
  context.slot = shared_.runs;
  StartExtractionThread(context);
}

}  // namespace orv
