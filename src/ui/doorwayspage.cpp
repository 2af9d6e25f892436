#include "ui/doorwayspage.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolBox>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

#include "app/windowtexts.h"
#include "metatags/metahtml.h"
#include "metatags/metahtmleditor.h"
#include "ui/mnemonics.h"
#include "ui/namedbutton.h"
#include "ui/uierrors.h"

namespace qs {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A block as the editor shows it (LF) and as it is kept (CR LF).
QString BlockText(const std::string& block) {
  QString text = Q(block);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}
std::string KeptBlock(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return AsLineBreaks(std::string_view(bytes.constData(), size_t(bytes.size())));
}

QSpinBox* Spin(const char* name, int minimum, int maximum, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(minimum, maximum);
  spin->setMinimumWidth(80);
  spin->setMaximumWidth(110);
  return spin;
}

// Font faces a browser finds on most systems, and whatever face the settings hold.
QComboBox* FaceChoice(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->addItems({QStringLiteral("Arial"), QStringLiteral("Verdana"), QStringLiteral("Tahoma"),
                 QStringLiteral("Trebuchet MS"), QStringLiteral("Georgia"),
                 QStringLiteral("Times New Roman"), QStringLiteral("Courier New"),
                 QStringLiteral("Helvetica")});
  box->setMinimumContentsLength(14);
  return box;
}

void ShowFace(QComboBox* box, const std::string& face) {
  box->setEditText(Q(face));
}

}  // namespace

QColor TDoorwaysPage::ToQColor(uint32_t c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

uint32_t TDoorwaysPage::FromQColor(const QColor& c) {
  return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

TDoorwaysPage::TDoorwaysPage(TDoorwayPage& doorway, TProjectEditor& editor, TAppState& state,
                             IDialogs& dialogs, QWidget* parent)
    : QWidget(parent), doorway_(doorway), editor_(editor), state_(state), dialogs_(dialogs) {
  setObjectName(QStringLiteral("DoorwaysPage"));
  showPreview = [this](const QString& path) { ShowPreviewInView(path); };
  pickColour = [this](const QColor& current, const QString& title) {
    return QColorDialog::getColor(current, this, title);
  };
  pickSaveFile = SaveFileDialog(this, QStringLiteral("html"));
  panels_ = new QToolBox(this);
  panels_->setObjectName(QStringLiteral("DoorwayPanels"));
  panels_->addItem(BuildBuilder(), QString());
  panels_->addItem(BuildPreview(), QString());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panels_);
  ShowOptions();
}

// ---- the builder --------------------------------------------------------------------------

QWidget* TDoorwaysPage::BuildBuilder() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("BuilderPanel"));
  templatesCaption_ = new QLabel(panel);
  templates_ = new QButtonGroup(this);
  templates_->setExclusive(true);
  // The row of pictures scrolls on its own where the window is too narrow for all eight.
  auto* rowArea = new QScrollArea(panel);
  rowArea->setObjectName(QStringLiteral("TemplateRow"));
  rowArea->setFrameShape(QFrame::NoFrame);
  rowArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  rowArea->setWidgetResizable(true);
  auto* rowWidget = new QWidget(rowArea);
  auto* row = new QHBoxLayout(rowWidget);
  row->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < kDoorTemplateCount; ++i) {
    auto* b = new QToolButton(rowWidget);
    b->setObjectName(QStringLiteral("Template%1").arg(i + 1));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const std::string picture =
        "\\data\\doorways\\templates\\template" + std::to_string(i + 1) + ".png";
    b->setIcon(QIcon(Q(state_.folder.Path(picture))));
    b->setIconSize(QSize(80, 60));
    templates_->addButton(b, i);
    templateButtons_.push_back(b);
    row->addWidget(b);
  }
  row->addStretch(1);
  rowArea->setWidget(rowWidget);
  rowArea->setFixedHeight(rowWidget->sizeHint().height() +
                          rowArea->horizontalScrollBar()->sizeHint().height() + 4);
  templatesCaption_->setBuddy(templateButtons_.front());
  connect(templates_, &QButtonGroup::idClicked, this, &TDoorwaysPage::SelectTemplate);

  builderPanels_ = new QToolBox(panel);
  builderPanels_->setObjectName(QStringLiteral("BuilderPanels"));
  builderPanels_->addItem(BuildOptions(), QString());
  builderPanels_->addItem(BuildContent(), QString());

  saveProperties_ = NamedButton("SaveProperties", panel);
  preview_ = NamedButton("Preview", panel);
  auto* commands = new QHBoxLayout;
  commands->addWidget(preview_);
  commands->addWidget(saveProperties_);
  commands->addStretch(1);
  connect(preview_, &QPushButton::clicked, this, &TDoorwaysPage::Preview);
  connect(saveProperties_, &QPushButton::clicked, this, &TDoorwaysPage::SaveProperties);

  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(templatesCaption_);
  layout->addWidget(rowArea);
  layout->addWidget(builderPanels_, 1);
  layout->addLayout(commands);
  return panel;
}

QPushButton* TDoorwaysPage::ColourChoice(const char* name, uint32_t TDoorwaySettings::*colour,
                                         const char* titleKey) {
  QPushButton* b = NamedButton(name, nullptr);
  b->setMinimumWidth(110);
  colours_.emplace_back(b, colour);
  connect(b, &QPushButton::clicked, this, [this, b, colour, titleKey] {
    const QColor chosen =
        pickColour(ToQColor(doorway_.Options().*colour), Q(state_.languageTable.Lookup(titleKey)));
    if (!chosen.isValid()) return;
    doorway_.Options().*colour = FromQColor(chosen);
    ShowColour(b, doorway_.Options().*colour);
  });
  return b;
}

void TDoorwaysPage::ShowColour(QPushButton* button, uint32_t colour) {
  // The swatch shows the colour; the caption its value as the page gets it.
  QPixmap swatch(28, 16);
  swatch.fill(ToQColor(colour));
  QPainter frame(&swatch);
  frame.setPen(palette().color(QPalette::WindowText));
  frame.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
  frame.end();
  button->setIcon(QIcon(swatch));
  button->setIconSize(swatch.size());
  button->setText(Q(ColourToHtml(colour)));
}

QWidget* TDoorwaysPage::BuildOptions() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("OptionsPanel"));
  border_ = Spin("BorderSize", 0, 10, panel);
  cellPadding_ = Spin("CellPadding", 0, 100, panel);
  cellSpacing_ = Spin("CellSpacing", 0, 100, panel);
  titleFace_ = FaceChoice("TitleFace", panel);
  bodyFace_ = FaceChoice("BodyFace", panel);
  titleSize_ = Spin("TitleSize", 6, 72, panel);
  bodySize_ = Spin("BodySize", 6, 72, panel);
  for (QSpinBox* s : {titleSize_, bodySize_}) s->setSuffix(QStringLiteral(" pt"));
  redirect_ = new QComboBox(panel);
  redirect_->setObjectName(QStringLiteral("JavaRedirect"));
  redirect_->addItems({QStringLiteral("ON"), QStringLiteral("OFF")});
  QPushButton* borderColour = ColourChoice("BorderColor", &TDoorwaySettings::borderColor, "239");
  QPushButton* pageColour = ColourChoice("PageBgColor", &TDoorwaySettings::pageBgColor, "240");
  QPushButton* tableColour = ColourChoice("TableBgColor", &TDoorwaySettings::tableBgColor, "241");
  QPushButton* titleColour = ColourChoice("TitleColor", &TDoorwaySettings::titleColor, "242");
  QPushButton* bodyColour = ColourChoice("BodyColor", &TDoorwaySettings::bodyColor, "243");

  auto font = [panel](QComboBox* face, QSpinBox* size, QPushButton* colour) {
    auto* row = new QHBoxLayout;
    row->addWidget(face);
    row->addWidget(size);
    row->addWidget(colour);
    row->addStretch(1);
    auto* w = new QWidget(panel);
    w->setLayout(row);
    row->setContentsMargins(0, 0, 0, 0);
    return w;
  };
  QWidget* fields[] = {border_,
                       borderColour,
                       pageColour,
                       tableColour,
                       cellPadding_,
                       cellSpacing_,
                       font(titleFace_, titleSize_, titleColour),
                       font(bodyFace_, bodySize_, bodyColour),
                       redirect_};
  auto* form = new QFormLayout(panel);
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  for (QWidget* field : fields) {
    auto* caption = new QLabel(panel);
    QWidget* buddy = field;
    if (field->layout()) buddy = field->layout()->itemAt(0)->widget();
    caption->setBuddy(buddy);
    optionCaptions_.push_back(caption);
    form->addRow(caption, field);
  }

  auto number = [this](int32_t TDoorwaySettings::*member) {
    return [this, member](int value) {
      if (!showing_) doorway_.Options().*member = value;
    };
  };
  connect(border_, &QSpinBox::valueChanged, this, number(&TDoorwaySettings::border));
  connect(cellPadding_, &QSpinBox::valueChanged, this, number(&TDoorwaySettings::cellPadding));
  connect(cellSpacing_, &QSpinBox::valueChanged, this, number(&TDoorwaySettings::cellSpacing));
  connect(titleSize_, &QSpinBox::valueChanged, this, number(&TDoorwaySettings::titleSize));
  connect(bodySize_, &QSpinBox::valueChanged, this, number(&TDoorwaySettings::bodySize));
  auto text = [this](std::string TDoorwaySettings::*member) {
    return [this, member](const QString& value) {
      if (!showing_) doorway_.Options().*member = value.toStdString();
    };
  };
  connect(titleFace_, &QComboBox::currentTextChanged, this, text(&TDoorwaySettings::titleFace));
  connect(bodyFace_, &QComboBox::currentTextChanged, this, text(&TDoorwaySettings::bodyFace));
  connect(redirect_, &QComboBox::currentTextChanged, this, text(&TDoorwaySettings::java));
  return panel;
}

QWidget* TDoorwaysPage::BuildContent() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("ContentPanel"));
  auto block = [&](const char* name, QLabel*& caption, QPlainTextEdit*& edit,
                   std::string TDoorwaySettings::*member) {
    caption = new QLabel(panel);
    edit = new QPlainTextEdit(panel);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setTabChangesFocus(true);
    caption->setBuddy(edit);
    QPlainTextEdit* e = edit;
    connect(edit, &QPlainTextEdit::textChanged, this, [this, e, member] {
      if (!showing_) doorway_.Options().*member = KeptBlock(e->toPlainText());
    });
  };
  block("HeaderBlock", headerCaption_, header_, &TDoorwaySettings::header);
  block("BodyBlock", bodyCaption_, body_, &TDoorwaySettings::content);
  block("FooterBlock", footerCaption_, footer_, &TDoorwaySettings::footer);
  const int line = header_->fontMetrics().lineSpacing();
  header_->setFixedHeight(line * 3 + 12);
  footer_->setFixedHeight(line * 3 + 12);
  body_->setMinimumHeight(line * 7 + 12);
  auto* layout = new QVBoxLayout(panel);
  for (auto [caption, edit] :
       {std::pair{headerCaption_, header_}, {bodyCaption_, body_}, {footerCaption_, footer_}}) {
    layout->addWidget(caption);
    layout->addWidget(edit, edit == body_ ? 1 : 0);
  }
  return panel;
}

void TDoorwaysPage::ShowOptions() {
  showing_ = true;
  const TDoorwaySettings& d = doorway_.Options();
  border_->setValue(d.border);
  cellPadding_->setValue(d.cellPadding);
  cellSpacing_->setValue(d.cellSpacing);
  titleSize_->setValue(d.titleSize);
  bodySize_->setValue(d.bodySize);
  ShowFace(titleFace_, d.titleFace);
  ShowFace(bodyFace_, d.bodyFace);
  // The redirect is on only for exactly "ON"; anything else shows as OFF.
  redirect_->setCurrentIndex(d.java == "ON" ? 0 : 1);
  for (auto& [button, member] : colours_) ShowColour(button, d.*member);
  header_->setPlainText(BlockText(d.header));
  body_->setPlainText(BlockText(d.content));
  footer_->setPlainText(BlockText(d.footer));
  const int selected = doorway_.SelectedTemplate();
  templateButtons_[size_t(selected >= 0 && selected < kDoorTemplateCount ? selected : 0)]
      ->setChecked(true);
  showing_ = false;
}

void TDoorwaysPage::SelectTemplate(int index) {
  doorway_.SelectTemplate(index);
  templateButtons_[size_t(index)]->setChecked(true);
}

void TDoorwaysPage::SaveProperties() {
  Guarded(dialogs_, [&] { doorway_.SaveProperties(); });
}

// ---- the preview --------------------------------------------------------------------------

QWidget* TDoorwaysPage::BuildPreview() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("PreviewPanel"));
  previewAgain_ = NamedButton("PreviewAgain", panel);
  saveAs_ = NamedButton("SaveAs", panel);
  saveAs_->setEnabled(false);
  auto* commands = new QHBoxLayout;
  commands->addWidget(previewAgain_);
  commands->addWidget(saveAs_);
  commands->addStretch(1);
  connect(previewAgain_, &QPushButton::clicked, this, &TDoorwaysPage::Preview);
  connect(saveAs_, &QPushButton::clicked, this, &TDoorwaysPage::SaveAs);
  previewHost_ = new QStackedWidget(panel);
  previewHost_->setObjectName(QStringLiteral("PreviewHost"));
  previewEmpty_ = new QLabel(previewHost_);
  previewEmpty_->setAlignment(Qt::AlignCenter);
  previewHost_->addWidget(previewEmpty_);
  auto* layout = new QVBoxLayout(panel);
  layout->addLayout(commands);
  layout->addWidget(previewHost_, 1);
  return panel;
}

void TDoorwaysPage::ShowPreviewInView(const QString& path) {
  if (!view_) {
    // The web engine starts with the first preview, not with the window.
    auto* view = new QWebEngineView(previewHost_);
    view->setObjectName(QStringLiteral("DoorwayPreview"));
    previewHost_->addWidget(view);
    view_ = view;
  }
  previewHost_->setCurrentWidget(view_);
  static_cast<QWebEngineView*>(view_)->load(QUrl::fromLocalFile(path));
}

void TDoorwaysPage::Preview() {
  std::string path;
  if (!Guarded(dialogs_, [&] { path = doorway_.Preview(editor_.Text("url")); })) return;
  saveAs_->setEnabled(doorway_.SaveAsEnabled());
  OpenPanel(TDoorwayPanel::Preview);
  showPreview(Q(path));
}

void TDoorwaysPage::SaveAs() {
  if (!doorway_.SaveAsEnabled()) return;
  const QString path =
      pickSaveFile(Q(state_.languageTable.Lookup("163")),
                   DialogFilter(DocumentFilter(state_.languageTable.Lookup("122"))));
  if (path.isEmpty()) return;
  Guarded(dialogs_, [&] { doorway_.SaveAs(path.toStdString()); });
}

// ---- the page -----------------------------------------------------------------------------

void TDoorwaysPage::OpenPanel(TDoorwayPanel panel) {
  if (panel == TDoorwayPanel::Preview) {
    panels_->setCurrentIndex(1);
    return;
  }
  panels_->setCurrentIndex(0);
  builderPanels_->setCurrentIndex(panel == TDoorwayPanel::Options ? 0 : 1);
}

TDoorwayPanel TDoorwaysPage::OpenedPanel() const {
  if (panels_->currentIndex() == 1) return TDoorwayPanel::Preview;
  return builderPanels_->currentIndex() == 0 ? TDoorwayPanel::Options : TDoorwayPanel::Content;
}

QAbstractButton* TDoorwaysPage::TemplateButton(int index) const {
  return templateButtons_[size_t(index)];
}

QPushButton* TDoorwaysPage::ColourButton(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name));
}

QPushButton* TDoorwaysPage::Button(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name));
}

void TDoorwaysPage::ApplyTable(const TLanguageTable& table, const std::vector<std::string>& taken) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  std::vector<std::string> headers = taken;
  for (const char* key : {"234", "237", "235", "236"}) headers.push_back(table.Lookup(key));
  const std::vector<std::string> marked = WithMnemonics(headers);
  const size_t n = taken.size();
  panels_->setItemText(0, Q(marked[n]));
  panels_->setItemText(1, Q(marked[n + 1]));
  builderPanels_->setItemText(0, Q(marked[n + 2]));
  builderPanels_->setItemText(1, Q(marked[n + 3]));
  const std::vector<std::string> reserved(marked.begin(), marked.end());

  templatesCaption_->setText(t("225"));
  for (int i = 0; i < kDoorTemplateCount; ++i)
    templateButtons_[size_t(i)]->setText(Q(table.Lookup(std::to_string(226 + i))));
  const QString captions[] = {t("238"),
                              t("239"),
                              t("240"),
                              t("241"),
                              QStringLiteral("CellPadding"),
                              QStringLiteral("CellSpacing"),
                              t("242"),
                              t("243"),
                              t("244")};
  for (size_t i = 0; i < optionCaptions_.size(); ++i) optionCaptions_[i]->setText(captions[i]);
  headerCaption_->setText(t("245"));
  bodyCaption_->setText(t("246"));
  footerCaption_->setText(t("247"));
  saveProperties_->setText(t("251"));
  preview_->setText(t("249"));
  previewAgain_->setText(t("249"));
  saveAs_->setText(t("250"));
  std::vector<QWidget*> builder = {templatesCaption_, preview_, saveProperties_};
  for (QLabel* l : optionCaptions_) builder.push_back(l);
  for (QLabel* l : {headerCaption_, bodyCaption_, footerCaption_}) builder.push_back(l);
  GiveMnemonics(reserved, builder);
  GiveMnemonics(reserved, {previewAgain_, saveAs_});
}

}  // namespace qs
