#pragma once
// The main window: a header band, a toolbar row, the article list on the left
// and the preview on the right. It only builds and places its controls; what
// they do is wired by the code that composes the program.

#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include "platform/toolkit/Controls.h"
#include "platform/toolkit/WebView.h"
#include "ui/main/MainLayout.h"

namespace orv {

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);

  // Places the controls from the current client size.
  void layoutControls();

  // The controls' places as they stand now.
  MainLayout currentLayout() const;

  TextLabel* header1() const { return header1_; }
  TextLabel* headerText() const { return headerText_; }
  PictureBox* mailIcon() const { return mailIcon_; }
  PictureBox* header2() const { return header2_; }
  PictureBox* header3() const { return header3_; }
  PictureBox* busyBand() const { return busyBand_; }
  PictureBox* header4() const { return header4_; }
  TextLabel* summary() const { return summary_; }
  SuperButton* likeButton() const { return likeButton_; }
  SuperButton* extractButton() const { return extractButton_; }
  SuperButton* configButton() const { return configButton_; }
  QListWidget* list() const { return list_; }
  TextLabel* previewCaption() const { return previewCaption_; }
  SuperButton* downloadButton() const { return downloadButton_; }
  SuperButton* browserButton() const { return browserButton_; }
  SuperButton* addLikeButton() const { return addLikeButton_; }
  SuperButton* prevButton() const { return prevButton_; }
  SuperButton* nextButton() const { return nextButton_; }
  SuperButton* closeButton() const { return closeButton_; }
  WebView* webView() const { return webView_; }
  PictureBox* backdrop() const { return backdrop_; }
  QTimer* captionTimer() const { return captionTimer_; }

  static const QColor kBackground;
  static const QColor kGradient[3];

 signals:
  // The window is about to close (it will close).
  void closing();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void applyLayout(const MainLayout& layout);

  TextLabel* header1_;
  TextLabel* headerText_;
  PictureBox* mailIcon_;
  PictureBox* header2_;
  PictureBox* header3_;
  PictureBox* busyBand_;
  PictureBox* header4_;
  TextLabel* summary_;
  SuperButton* likeButton_;
  SuperButton* extractButton_;
  SuperButton* configButton_;
  QListWidget* list_;
  TextLabel* previewCaption_;
  SuperButton* downloadButton_;
  SuperButton* browserButton_;
  SuperButton* addLikeButton_;
  SuperButton* prevButton_;
  SuperButton* nextButton_;
  SuperButton* closeButton_;
  WebView* webView_;
  PictureBox* backdrop_;
  QTimer* captionTimer_;
};

}  // namespace orv
