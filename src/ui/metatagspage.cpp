#include "ui/metatagspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/windowtexts.h"
#include "metatags/metahtml.h"
#include "ui/ledcounter.h"
#include "ui/metataglistmodel.h"
#include "ui/mnemonics.h"
#include "ui/namedbutton.h"
#include "ui/sourceeditor.h"
#include "ui/uierrors.h"

namespace qs {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

QLabel* Label(const char* name, QWidget* parent) {
  auto* l = new QLabel(parent);
  if (name) l->setObjectName(QString::fromLatin1(name));
  return l;
}

// The source's line breaks (CR LF, CR or LF) as the editor's single LF.
QString EditorText(std::string_view source) {
  QString text = QString::fromUtf8(source.data(), qsizetype(source.size()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// The editor's text as the source holds it: UTF-8 with CR LF line breaks.
std::string SourceText(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return AsLineBreaks(std::string_view(bytes.constData(), size_t(bytes.size())));
}

}  // namespace

TMetaTagsPage::TMetaTagsPage(TMetaEditor& creator, TMetaHtmlEditor& html,
                             const TMetaCatalogue& catalogue, TProjectEditor& editor,
                             TAppState& state, IDialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      creator_(creator),
      html_(html),
      catalogue_(catalogue),
      editor_(editor),
      state_(state),
      dialogs_(dialogs) {
  setObjectName(QStringLiteral("MetaTagsPage"));
  pickOpenFile = OpenFileDialog(this);
  pickSaveFile = SaveFileDialog(this, QStringLiteral("html"));
  panels_ = new QToolBox(this);
  panels_->setObjectName(QStringLiteral("MetaPanels"));
  panels_->addItem(BuildCreator(), QString());
  panels_->addItem(BuildEditor(), QString());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panels_);

  html_.OnUrlBarChanged = [this] { ShowUrlBar(); };
  html_.OnSourceLoaded = [this] {
    PullSource();
    ShowUrlBar();
  };
  ShowUrlBar();
  ProjectSelected();
}

TMetaTagsPage::~TMetaTagsPage() {
  // The HTML editor outlives the page: a load still under way may not call into it.
  html_.OnUrlBarChanged = nullptr;
  html_.OnSourceLoaded = nullptr;
}

// ---- the creator --------------------------------------------------------------------------

QWidget* TMetaTagsPage::BuildCreator() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("CreatorPanel"));
  tagModel_ = new TMetaTagListModel(creator_, catalogue_, this);
  tagModel_->guard = [this](const std::function<void()>& f) { Guarded(dialogs_, f); };
  tagList_ = new QListView(panel);
  tagList_->setObjectName(QStringLiteral("TagList"));
  tagList_->setModel(tagModel_);
  tagList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tagList_->setSelectionMode(QAbstractItemView::SingleSelection);
  tagList_->setUniformItemSizes(true);
  tagList_->setMinimumWidth(170);
  tagList_->setMaximumWidth(240);
  tagsCaption_ = Label(nullptr, panel);
  tagsCaption_->setBuddy(tagList_);

  nameCaption_ = Label(nullptr, panel);
  tagName_ = Label("TagName", panel);
  QFont bold = tagName_->font();
  bold.setBold(true);
  tagName_->setFont(bold);
  valueCaption_ = Label(nullptr, panel);
  tagValue_ = new QLineEdit(panel);
  tagValue_->setObjectName(QStringLiteral("TagValue"));
  tagValue_->setMaxLength(255);
  tagValue2_ = new QComboBox(panel);
  tagValue2_->setObjectName(QStringLiteral("TagValue2"));
  tagValue2_->setEditable(true);
  tagValue2_->setInsertPolicy(QComboBox::NoInsert);
  tagValue2_->lineEdit()->setMaxLength(255);
  tagValue2_->hide();
  valueCaption_->setBuddy(tagValue_);
  metaCopy_ = NamedButton("MetaCopy", panel);
  tagCheck_ = new QCheckBox(panel);
  tagCheck_->setObjectName(QStringLiteral("TagCheck"));
  charCaption_ = Label(nullptr, panel);
  wordCaption_ = Label(nullptr, panel);
  charCount_ = new TLedCounter(panel);
  charCount_->setObjectName(QStringLiteral("CharCount"));
  wordCount_ = new TLedCounter(panel);
  wordCount_->setObjectName(QStringLiteral("WordCount"));
  warningsCaption_ = Label(nullptr, panel);
  warnings_ = Label("Warnings", panel);
  warnings_->setWordWrap(true);
  hintsCaption_ = Label(nullptr, panel);
  hints_ = Label("Hints", panel);
  hints_->setWordWrap(true);
  tagView_ = new QPlainTextEdit(panel);
  tagView_->setObjectName(QStringLiteral("TagView"));
  tagView_->setReadOnly(true);
  tagView_->setTabChangesFocus(true);
  tagView_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  tagView_->setFixedHeight(tagView_->fontMetrics().lineSpacing() * 4 + 12);

  auto* valueRow = new QHBoxLayout;
  valueRow->addWidget(tagValue_, 1);
  valueRow->addWidget(tagValue2_, 1);
  valueRow->addWidget(metaCopy_);
  auto* counts = new QHBoxLayout;
  counts->addWidget(charCount_);
  counts->addSpacing(16);
  counts->addWidget(wordCaption_);
  counts->addWidget(wordCount_);
  counts->addStretch(1);
  auto* fields = new QGridLayout;
  fields->setColumnStretch(1, 1);
  int row = 0;
  fields->addWidget(nameCaption_, row, 0);
  fields->addWidget(tagName_, row++, 1);
  fields->addWidget(valueCaption_, row, 0);
  fields->addLayout(valueRow, row++, 1);
  fields->addWidget(tagCheck_, row++, 1);
  fields->addWidget(charCaption_, row, 0);
  fields->addLayout(counts, row++, 1);
  fields->addWidget(warningsCaption_, row, 0, Qt::AlignTop);
  fields->addWidget(warnings_, row++, 1);
  fields->addWidget(hintsCaption_, row, 0, Qt::AlignTop);
  fields->addWidget(hints_, row++, 1);
  fields->addWidget(tagView_, row++, 0, 1, 2);
  fields->setRowStretch(row, 1);

  auto* listSide = new QVBoxLayout;
  listSide->addWidget(tagsCaption_);
  listSide->addWidget(tagList_, 1);
  auto* layout = new QHBoxLayout(panel);
  layout->addLayout(listSide);
  layout->addLayout(fields, 1);

  connect(tagList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (showing_ || !current.isValid()) return;
            Guarded(dialogs_, [&] { creator_.SelectTag(current.row()); });
            ShowTag();
          });
  connect(tagModel_, &TMetaTagListModel::checkToggled, this, [this](int) { ShowTag(false); });
  connect(tagValue_, &QLineEdit::textEdited, this, [this](const QString& text) {
    Guarded(dialogs_, [&] { creator_.EditValue(text.toStdString()); });
    ShowTag(false);
    showing_ = true;
    tagValue2_->setEditText(text);
    showing_ = false;
  });
  auto picked = [this](const QString& text) {
    if (showing_) return;
    Guarded(dialogs_, [&] { creator_.PickValue(text.toStdString()); });
    ShowTag(false);
    showing_ = true;
    tagValue_->setText(text);
    showing_ = false;
  };
  connect(tagValue2_, &QComboBox::textActivated, this, picked);
  connect(tagValue2_->lineEdit(), &QLineEdit::textEdited, this, picked);
  connect(tagCheck_, &QCheckBox::clicked, this, [this](bool checked) {
    Guarded(dialogs_, [&] { creator_.ClickTagCheck(checked); });
    tagModel_->ChecksChanged();
    ShowTag(false);
  });
  connect(metaCopy_, &QPushButton::clicked, this, [this] {
    Guarded(dialogs_, [&] { creator_.CopyFromProject(editor_); });
    ShowTag();
  });
  return panel;
}

void TMetaTagsPage::ProjectSelected() {
  shownProject_ = state_.currentDomain + '\n' + state_.currentProjectKey;
  Guarded(dialogs_, [&] { creator_.ProjectSelected(); });
  tagModel_->ChecksChanged();
  ShowTag();
}

void TMetaTagsPage::ShowTag(bool value) {
  showing_ = true;
  const int selected = creator_.Selected();
  if (selected >= 0 && tagList_->currentIndex().row() != selected)
    tagList_->setCurrentIndex(tagModel_->index(selected));
  tagName_->setText(Q(creator_.TagName()));
  const QString hint = Q(creator_.TagHint());
  for (QWidget* w : {static_cast<QWidget*>(tagName_), static_cast<QWidget*>(tagValue_),
                     static_cast<QWidget*>(tagValue2_)})
    w->setToolTip(hint);
  const bool pick = creator_.PickList();
  tagValue_->setVisible(!pick);
  tagValue2_->setVisible(pick);
  valueCaption_->setBuddy(pick ? static_cast<QWidget*>(tagValue2_) : tagValue_);
  if (value) {
    QStringList choices;
    for (const std::string& c : creator_.Choices()) choices << Q(c);
    tagValue2_->clear();
    tagValue2_->addItems(choices);
    tagValue2_->setEditText(Q(creator_.Value()));
    if (tagValue_->text() != Q(creator_.Value())) tagValue_->setText(Q(creator_.Value()));
  }
  tagCheck_->setChecked(creator_.TagCheck());
  charCount_->Show({creator_.CharCount().count, !creator_.CharCount().red});
  wordCount_->Show({creator_.WordCount().count, !creator_.WordCount().red});
  warnings_->setText(Q(creator_.Warnings()));
  hints_->setText(Q(creator_.Hints()));
  tagView_->setPlainText(Q(creator_.TagView()));
  metaCopy_->setVisible(creator_.MetaCopyVisible());
  showing_ = false;
}

// ---- the HTML editor ----------------------------------------------------------------------

QWidget* TMetaTagsPage::BuildEditor() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("EditorPanel"));
  loadFile_ = NamedButton("LoadFile", panel);
  loadUrl_ = NamedButton("LoadUrl", panel);
  pasteTags_ = NamedButton("PasteMetaTags", panel);
  injectTags_ = NamedButton("InjectMetaTags", panel);
  saveAs_ = NamedButton("SaveAs", panel);
  updateMeta_ = NamedButton("UpdateMetaInfo", panel);
  deleteTags_ = NamedButton("DeleteMetaTags", panel);
  // The document's commands on one row, the meta tag block's on another, removing kept
  // apart from the commands that add.
  auto* documentRow = new QHBoxLayout;
  for (QPushButton* b : {loadFile_, loadUrl_, saveAs_}) documentRow->addWidget(b);
  documentRow->addStretch(1);
  documentRow->addWidget(updateMeta_);
  auto* blockRow = new QHBoxLayout;
  blockRow->addWidget(pasteTags_);
  blockRow->addWidget(injectTags_);
  blockRow->addStretch(1);
  blockRow->addWidget(deleteTags_);

  urlBar_ = new QWidget(panel);
  urlBar_->setObjectName(QStringLiteral("UrlBar"));
  label20_ = Label("Label20", urlBar_);
  metaUrl_ = new QLineEdit(urlBar_);
  metaUrl_->setObjectName(QStringLiteral("MetaUrl"));
  metaGo_ = NamedButton("MetaGo", urlBar_);
  label20_->setBuddy(metaUrl_);
  auto* bar = new QHBoxLayout(urlBar_);
  bar->setContentsMargins(0, 0, 0, 0);
  bar->addWidget(label20_);
  bar->addWidget(metaUrl_, 1);
  bar->addWidget(metaGo_);

  sourceCaption_ = Label(nullptr, panel);
  source_ = new TSourceEditor(panel);
  source_->setObjectName(QStringLiteral("MetaSource"));
  sourceCaption_->setBuddy(source_);

  auto* layout = new QVBoxLayout(panel);
  layout->addLayout(documentRow);
  layout->addWidget(urlBar_);
  layout->addLayout(blockRow);
  layout->addWidget(sourceCaption_);
  layout->addWidget(source_, 1);

  connect(loadFile_, &QPushButton::clicked, this, &TMetaTagsPage::LoadFile);
  connect(loadUrl_, &QPushButton::clicked, this, &TMetaTagsPage::LoadUrl);
  connect(metaGo_, &QPushButton::clicked, this, &TMetaTagsPage::Go);
  connect(metaUrl_, &QLineEdit::returnPressed, this, &TMetaTagsPage::Go);
  connect(deleteTags_, &QPushButton::clicked, this, &TMetaTagsPage::DeleteMetaTags);
  connect(pasteTags_, &QPushButton::clicked, this, &TMetaTagsPage::PasteMetaTags);
  connect(injectTags_, &QPushButton::clicked, this, &TMetaTagsPage::InjectMetaTags);
  connect(saveAs_, &QPushButton::clicked, this, &TMetaTagsPage::SaveAs);
  connect(updateMeta_, &QPushButton::clicked, this, &TMetaTagsPage::updateMetaInfoRequested);
  return panel;
}

void TMetaTagsPage::PushSource() {
  const QString text = source_->toPlainText();
  const int position = source_->textCursor().position();
  html_.SetSource(SourceText(text), SourceText(text.left(position)).size());
}

void TMetaTagsPage::PullSource() {
  const std::string& source = html_.Source();
  const QString text = EditorText(source);
  if (text != source_->toPlainText()) {
    // One step of the editor's undo, not a new document.
    QTextCursor all(source_->document());
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.insertText(text);
    all.endEditBlock();
  }
  QTextCursor caret(source_->document());
  const size_t at = std::min(html_.Caret(), source.size());
  caret.setPosition(int(EditorText(std::string_view(source).substr(0, at)).size()));
  source_->setTextCursor(caret);
}

void TMetaTagsPage::Command(const std::function<void()>& command) {
  PushSource();
  Guarded(dialogs_, command);
  PullSource();
  ShowUrlBar();
}

void TMetaTagsPage::LoadFile() {
  const QString path =
      pickOpenFile(Q(state_.languageTable.Lookup("169")),
                   DialogFilter(DocumentFilter(state_.languageTable.Lookup("122"))));
  if (path.isEmpty()) return;
  Command([&] { html_.LoadFile(path.toStdString()); });
}

void TMetaTagsPage::LoadUrl() {
  html_.ShowUrlBar();
  ShowUrlBar();
  metaUrl_->setFocus();
  metaUrl_->selectAll();
}

void TMetaTagsPage::Go() {
  if (metaGo_->isHidden()) return;  // a load is under way
  html_.SetMetaUrl(metaUrl_->text().trimmed().toStdString());
  PushSource();
  Guarded(dialogs_, [&] { html_.Go(); });
  ShowUrlBar();
}

void TMetaTagsPage::DeleteMetaTags() {
  Command([&] { html_.DeleteMetaTags(); });
}
void TMetaTagsPage::PasteMetaTags() {
  Command([&] { html_.PasteMetaTags(); });
}
void TMetaTagsPage::InjectMetaTags() {
  Command([&] { html_.InjectMetaTags(); });
}

void TMetaTagsPage::SaveAs() {
  PushSource();
  const QString path =
      pickSaveFile(Q(state_.languageTable.Lookup("163")),
                   DialogFilter(DocumentFilter(state_.languageTable.Lookup("122"))));
  if (path.isEmpty()) return;
  Command([&] { html_.SaveAs(path.toStdString()); });
}

void TMetaTagsPage::ShowUrlBar() {
  urlBar_->setVisible(html_.UrlBarVisible() || html_.Loading());
  label20_->setText(Q(html_.UrlLabel()));
  metaUrl_->setVisible(html_.UrlFieldVisible());
  metaGo_->setVisible(html_.UrlFieldVisible());
}

// ---- the page -----------------------------------------------------------------------------

void TMetaTagsPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

void TMetaTagsPage::Refresh() {
  if (shownProject_ != state_.currentDomain + '\n' + state_.currentProjectKey) ProjectSelected();
}

void TMetaTagsPage::OpenPanel(TMetaPanel panel) {
  panels_->setCurrentIndex(int(panel));
}

TMetaPanel TMetaTagsPage::OpenedPanel() const {
  return TMetaPanel(panels_->currentIndex());
}

QPushButton* TMetaTagsPage::Button(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name));
}

void TMetaTagsPage::ApplyTable(const TLanguageTable& table, const std::vector<std::string>& taken) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  std::vector<std::string> headers = taken;
  headers.push_back(table.Lookup("216"));
  headers.push_back(table.Lookup("217"));
  const std::vector<std::string> marked = WithMnemonics(headers);
  panels_->setItemText(0, Q(marked[taken.size()]));
  panels_->setItemText(1, Q(marked[taken.size() + 1]));
  std::vector<std::string> reserved(marked.begin(), marked.end());

  tagsCaption_->setText(t("209"));
  nameCaption_->setText(t("417"));
  valueCaption_->setText(t("210"));
  tagCheck_->setText(t("214"));
  charCaption_->setText(t("211"));
  wordCaption_->setText(t("212"));
  warningsCaption_->setText(t("213"));
  hintsCaption_->setText(t("215"));
  metaCopy_->setText(t("208"));
  GiveMnemonics(reserved, {tagsCaption_, valueCaption_, tagCheck_, metaCopy_});

  loadFile_->setText(t("219"));
  loadUrl_->setText(t("220"));
  deleteTags_->setText(t("221"));
  injectTags_->setText(t("222"));
  pasteTags_->setText(t("223"));
  saveAs_->setText(t("250"));
  updateMeta_->setText(t("352"));
  metaGo_->setText(t("pggo"));
  sourceCaption_->setText(t("218"));
  GiveMnemonics(reserved, {loadFile_, loadUrl_, pasteTags_, injectTags_, saveAs_, updateMeta_,
                           deleteTags_, metaGo_, sourceCaption_});
  ShowUrlBar();
  ShowTag(false);
}

}  // namespace qs
