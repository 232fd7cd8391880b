#include "platform/toolkit/WebView.h"

#include <QDir>
#include <QFileInfo>

namespace orv {
namespace {

// Stands in for the new window a page asks for: it only reports the address
// the page wanted to open there, then goes away.
class NewWindowCatcher : public QWebEnginePage {
 public:
  NewWindowCatcher(QWebEngineProfile* profile, WebPage* opener) : QWebEnginePage(profile, opener), opener_(opener) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
    if (isMainFrame && !reported_) {
      reported_ = true;
      emit opener_->newWindowAddressRequested(url);
      deleteLater();
    }
    return false;
  }

 private:
  WebPage* opener_;
  bool reported_ = false;
};

}  // namespace

WebPage::WebPage(QObject* parent) : QWebEnginePage(parent) {}

bool WebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
  if (isMainFrame) emit navigationStarting(url);
  return true;
}

QWebEnginePage* WebPage::createWindow(WebWindowType) { return new NewWindowCatcher(profile(), this); }

WebView::WebView(QWidget* parent) : QWebEngineView(parent) {
  auto* page = new WebPage(this);
  setPage(page);
  connect(page, &WebPage::navigationStarting, this, &WebView::aboutToNavigate);
  connect(page, &WebPage::newWindowAddressRequested, this, [this](const QUrl& url) {
    setUrl(url);
    emit newWindowRequested(url);
  });
  connect(page, &QWebEnginePage::linkHovered, this, [this](const QString& link) { statusText_ = link; });
  connect(this, &QWebEngineView::loadFinished, this, &WebView::loadCompleted);
}

QString WebView::address() const { return url().toString(); }

void WebView::setAddress(const QString& address) {
  if (address.startsWith('/') || QFileInfo(address).isAbsolute()) {
    setUrl(QUrl::fromLocalFile(address));
  } else {
    setUrl(QUrl::fromUserInput(address));
  }
}

}  // namespace orv
