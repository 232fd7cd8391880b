#pragma once
// The embedded web view. Its policy lives in the page: a request for a new
// window opens the requested address in this same view, and no window opens.

#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace orv {

class WebPage : public QWebEnginePage {
  Q_OBJECT
 public:
  explicit WebPage(QObject* parent = nullptr);

 signals:
  // About to navigate (main frame); the navigation always goes ahead.
  void navigationStarting(const QUrl& url);
  // The page asked for a new window showing `url`.
  void newWindowAddressRequested(const QUrl& url);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;
};

class WebView : public QWebEngineView {
  Q_OBJECT
 public:
  explicit WebView(QWidget* parent = nullptr);

  // The current address as text; empty when nothing was ever loaded.
  QString address() const;
  // Navigates to `address`: a URL, or a local path such as a folder.
  void setAddress(const QString& address);
  // The link under the mouse, as a browser's status bar would show it.
  QString statusText() const { return statusText_; }
  QString documentTitle() const { return title(); }

 signals:
  // The events the windows follow: about to navigate, load complete (may come
  // more than once per page), and a page's request for a new window.
  void aboutToNavigate(const QUrl& url);
  void loadCompleted(bool ok);
  void newWindowRequested(const QUrl& url);

 private:
  QString statusText_;
};

}  // namespace orv
