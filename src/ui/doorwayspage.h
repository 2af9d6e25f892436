// The Doorways page: the builder panel (the row of the eight templates with their pictures,
// the page options with their colour, font and size choices and the redirect, the header,
// body and footer blocks, Save Properties, Preview) and the preview panel, where the built
// page is shown as a browser renders it (an embedded web view) and Save As keeps it.
#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "doorways/doorwaypage.h"
#include "projects/projecteditor.h"
#include "ui/filedialogs.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolBox;
class QToolButton;

namespace qs {

enum class TDoorwayPanel { Options, Content, Preview };

class TDoorwaysPage : public QWidget {
  Q_OBJECT
 public:
  TDoorwaysPage(TDoorwayPage& doorway, TProjectEditor& editor, TAppState& state, IDialogs& dialogs,
                QWidget* parent = nullptr);

  void OpenPanel(TDoorwayPanel panel);
  TDoorwayPanel OpenedPanel() const;
  void ApplyTable(const TLanguageTable& table, const std::vector<std::string>& taken = {});
  // The options and blocks as they are now (after start-up, or a change elsewhere).
  void ShowOptions();

  void SelectTemplate(int index);
  void Preview();
  void SaveAs();
  void SaveProperties();

  // Shows the written preview file; by default in the embedded web view, made when first
  // needed. Tests of the page alone put a stand-in here.
  std::function<void(const QString& path)> showPreview;
  // The colour dialog (the current colour, the dialog's title) -> the chosen colour, or an
  // invalid colour for Cancel; and the file dialog of Save As. Tests put stand-ins here.
  std::function<QColor(const QColor& current, const QString& title)> pickColour;
  TPickFile pickSaveFile;

  // 0x00BBGGRR as a colour and back.
  static QColor ToQColor(uint32_t colour);
  static uint32_t FromQColor(const QColor& colour);

  QAbstractButton* TemplateButton(int index) const;
  QSpinBox* BorderSize() const { return border_; }
  QPushButton* ColourButton(const char* name) const;
  QSpinBox* CellPadding() const { return cellPadding_; }
  QSpinBox* CellSpacing() const { return cellSpacing_; }
  QComboBox* TitleFace() const { return titleFace_; }
  QSpinBox* TitleSize() const { return titleSize_; }
  QComboBox* BodyFace() const { return bodyFace_; }
  QSpinBox* BodySize() const { return bodySize_; }
  QComboBox* Redirect() const { return redirect_; }
  QPlainTextEdit* HeaderBlock() const { return header_; }
  QPlainTextEdit* BodyBlock() const { return body_; }
  QPlainTextEdit* FooterBlock() const { return footer_; }
  QPushButton* Button(const char* name) const;
  // The embedded web view once made (nothing before the first preview).
  QWidget* PreviewView() const { return view_; }

 private:
  QWidget* BuildBuilder();
  QWidget* BuildOptions();
  QWidget* BuildContent();
  QWidget* BuildPreview();
  QPushButton* ColourChoice(const char* name, uint32_t TDoorwaySettings::*colour,
                            const char* titleKey);
  void ShowColour(QPushButton* button, uint32_t colour);
  void ShowPreviewInView(const QString& path);

  TDoorwayPage& doorway_;
  TProjectEditor& editor_;
  TAppState& state_;
  IDialogs& dialogs_;
  bool showing_ = false;
  std::vector<std::pair<QPushButton*, uint32_t TDoorwaySettings::*>> colours_;

  QToolBox *panels_ = nullptr, *builderPanels_ = nullptr;
  QLabel* templatesCaption_ = nullptr;
  QButtonGroup* templates_ = nullptr;
  std::vector<QToolButton*> templateButtons_;
  std::vector<QLabel*> optionCaptions_;  // in the order of the options
  QSpinBox *border_ = nullptr, *cellPadding_ = nullptr, *cellSpacing_ = nullptr,
           *titleSize_ = nullptr, *bodySize_ = nullptr;
  QComboBox *titleFace_ = nullptr, *bodyFace_ = nullptr, *redirect_ = nullptr;
  QLabel *headerCaption_ = nullptr, *bodyCaption_ = nullptr, *footerCaption_ = nullptr;
  QPlainTextEdit *header_ = nullptr, *body_ = nullptr, *footer_ = nullptr;
  QPushButton *saveProperties_ = nullptr, *preview_ = nullptr, *previewAgain_ = nullptr,
              *saveAs_ = nullptr;
  QStackedWidget* previewHost_ = nullptr;
  QLabel* previewEmpty_ = nullptr;
  QWidget* view_ = nullptr;
};

}  // namespace qs
