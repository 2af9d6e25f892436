#include "ui/rankingpage.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolBox>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/errors.h"
#include "platform/desktop.h"
#include "platform/regional.h"
#include "projects/domainstore.h"
#include "ui/htmldelegate.h"
#include "ui/rankchart.h"
#include "ui/rankenginemodel.h"
#include "ui/rankhistorymodel.h"
#include "ui/rankviewmodel.h"
#include "ui/namedbutton.h"
#include "ui/uierrors.h"

namespace qs {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TRankingPage::TRankingPage(TRankEngineList& engines, TProjectEditor& editor,
                           TConnectionSettings& connection, IDialogs& dialogs,
                           IInternetConnection& internet, const TAppState& state, QWidget* parent)
    : QWidget(parent),
      engines_(engines),
      editor_(editor),
      connection_(connection),
      dialogs_(dialogs),
      state_(state),
      run_(std::make_unique<TRankRun>(state.folder, state.languageTable, dialogs, internet,
                                      engines, view_)),
      history_(state.languageTable) {
  setObjectName(QStringLiteral("RankingPage"));
  panels_ = new QToolBox(this);
  panels_->setObjectName(QStringLiteral("RankingPanels"));
  panels_->addItem(BuildCheck(), QString());
  panels_->addItem(BuildHistory(), QString());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panels_);
  Bind();
  ShowButtons();
}

TRankingPage::~TRankingPage() {
  // The engine list and the editor outlive the page; the run and its view go with it.
  engines_.OnChange = nullptr;
  editor_.OnRankingUrl = nullptr;
  editor_.OnRankingKeywords = nullptr;
  run_->OnRunStateChange = nullptr;
  run_->OnHistoryRecorded = nullptr;
  view_.OnClear = nullptr;
  view_.OnNodeAdded = nullptr;
  view_.OnNodeChange = nullptr;
  run_.reset();
}

// ---- the two panels -----------------------------------------------------------------------

QWidget* TRankingPage::BuildCheck() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("RankCheckPanel"));
  urlCaption_ = new QLabel(panel);
  keyCaption_ = new QLabel(panel);
  depthCaption_ = new QLabel(panel);
  rankUrl_ = new QLineEdit(QStringLiteral("http://"), panel);
  rankUrl_->setObjectName(QStringLiteral("RankUrl"));
  rankKey_ = new QComboBox(panel);
  rankKey_->setObjectName(QStringLiteral("RankKey"));
  rankKey_->setEditable(true);
  rankKey_->setInsertPolicy(QComboBox::NoInsert);
  rankPage_ = new QComboBox(panel);
  rankPage_->setObjectName(QStringLiteral("RankPage"));
  rankPage_->setEditable(true);
  rankPage_->setInsertPolicy(QComboBox::NoInsert);
  for (std::string_view depth : TRankRun::kDepthChoices)
    rankPage_->addItem(QString::fromLatin1(depth.data(), qsizetype(depth.size())));
  rankPage_->setCurrentIndex(0);
  startRank_ = NamedButton("StartRank", panel);
  stopRank_ = NamedButton("StopRank", panel);
  urlCaption_->setBuddy(rankUrl_);
  keyCaption_->setBuddy(rankKey_);
  depthCaption_->setBuddy(rankPage_);

  auto* inputs = new QGridLayout;
  inputs->addWidget(urlCaption_, 0, 0);
  inputs->addWidget(rankUrl_, 0, 1, 1, 4);
  inputs->addWidget(keyCaption_, 1, 0);
  inputs->addWidget(rankKey_, 1, 1, 1, 4);
  inputs->addWidget(depthCaption_, 2, 0);
  inputs->addWidget(rankPage_, 2, 1);
  inputs->addWidget(startRank_, 2, 2);
  inputs->addWidget(stopRank_, 2, 3);
  inputs->setColumnStretch(4, 1);

  engineModel_ = new TRankEngineModel(engines_, this);
  engineList_ = new QListView(panel);
  engineList_->setObjectName(QStringLiteral("RankEngList"));
  engineList_->setModel(engineModel_);
  engineList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  engineList_->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* selectAll = new QAction(this);
  selectAll->setObjectName(QStringLiteral("actRankSelectAll"));
  connect(selectAll, &QAction::triggered, this, &TRankingPage::SelectAllEngines);
  auto* deselectAll = new QAction(this);
  deselectAll->setObjectName(QStringLiteral("actRankDeselectAll"));
  connect(deselectAll, &QAction::triggered, this, &TRankingPage::DeselectAllEngines);
  connect(engineList_, &QWidget::customContextMenuRequested, this,
          [this, selectAll, deselectAll](QPoint at) {
            QMenu menu;
            menu.addAction(selectAll);
            menu.addAction(deselectAll);
            menu.exec(engineList_->viewport()->mapToGlobal(at));
          });

  treeModel_ = new TRankViewModel(view_, this);
  tree_ = new QTreeView(panel);
  tree_->setObjectName(QStringLiteral("RankView"));
  tree_->setModel(treeModel_);
  tree_->setHeaderHidden(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setMouseTracking(true);
  auto* delegate = new THtmlDelegate(tree_);
  tree_->setItemDelegate(delegate);
  connect(delegate, &THtmlDelegate::linkActivated, this,
          [this](const QString& href, const QModelIndex&) { ClickResultLink(href); });
  connect(treeModel_, &TRankViewModel::nodeAdded, tree_, &QTreeView::expand);
  resultsCaption_ = new QLabel(panel);
  resultsCaption_->setBuddy(tree_);

  auto* resultsBox = new QWidget;
  auto* resultsLayout = new QVBoxLayout(resultsBox);
  resultsLayout->setContentsMargins(0, 0, 0, 0);
  resultsLayout->addWidget(resultsCaption_);
  resultsLayout->addWidget(tree_);
  auto* split = new QSplitter(Qt::Horizontal, panel);
  split->addWidget(engineList_);
  split->addWidget(resultsBox);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 3);
  split->setChildrenCollapsible(false);

  auto* layout = new QVBoxLayout(panel);
  layout->addLayout(inputs);
  layout->addWidget(split, 1);

  connect(rankUrl_, &QLineEdit::textChanged, this,
          [this](const QString& text) { run_->SetRankUrl(text.toStdString()); });
  connect(rankKey_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { run_->SetRankKey(text.toStdString()); });
  connect(rankPage_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { run_->SetRankPage(text.toStdString()); });
  connect(startRank_, &QPushButton::clicked, this, [this] {
    Guarded(dialogs_, [&] {
      TConnectionSettings::ApplyProxyTo(connection_.ReadProxy(), run_->HttpRank());
      run_->Start();
    });
  });
  connect(stopRank_, &QPushButton::clicked, this, [this] { Guarded(dialogs_, [&] { run_->Stop(); }); });
  return panel;
}

QWidget* TRankingPage::BuildHistory() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("RankHistoryPanel"));
  historyKeyCaption_ = new QLabel(panel);
  historyKeyword_ = new QComboBox(panel);
  historyKeyword_->setObjectName(QStringLiteral("RankHistoryKeyword"));
  historyKeyword_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  historyKeyCaption_->setBuddy(historyKeyword_);
  bestEver_ = new QLabel(panel);
  bestEver_->setObjectName(QStringLiteral("RankBestEver"));
  historyNote_ = new QLabel(panel);
  historyNote_->setObjectName(QStringLiteral("RankHistoryNote"));
  historyNote_->setWordWrap(true);
  auto* head = new QHBoxLayout;
  head->addWidget(historyKeyCaption_);
  head->addWidget(historyKeyword_);
  head->addSpacing(12);
  head->addWidget(bestEver_);
  head->addStretch(1);

  historyModel_ = new TRankHistoryModel(history_, this);
  historyTable_ = new QTableView(panel);
  historyTable_->setObjectName(QStringLiteral("RankHistoryTable"));
  historyTable_->setModel(historyModel_);
  historyTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  historyTable_->setSelectionMode(QAbstractItemView::SingleSelection);
  historyTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  historyTable_->setAlternatingRowColors(true);
  historyTable_->setWordWrap(false);
  historyTable_->verticalHeader()->hide();
  // Fixed row heights: the view never measures thousands of rows.
  historyTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  historyTable_->verticalHeader()->setDefaultSectionSize(historyTable_->fontMetrics().height() + 6);
  historyTable_->horizontalHeader()->setStretchLastSection(true);
  const int widths[] = {165, 130, 130, 100};
  for (int c = 0; c < 4; ++c) historyTable_->setColumnWidth(c, widths[c]);

  chart_ = new QChart;
  chartView_ = new QChartView(chart_, panel);  // takes the chart
  chartView_->setObjectName(QStringLiteral("RankHistoryChart"));
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumHeight(180);

  chartLegend_ = new QLabel(panel);
  chartLegend_->setObjectName(QStringLiteral("RankHistoryLegend"));
  chartLegend_->setAlignment(Qt::AlignCenter);
  auto* chartBox = new QWidget;
  auto* chartLayout = new QVBoxLayout(chartBox);
  chartLayout->setContentsMargins(0, 0, 0, 0);
  chartLayout->addWidget(chartView_, 1);
  chartLayout->addWidget(chartLegend_);
  auto* split = new QSplitter(Qt::Vertical, panel);
  split->addWidget(historyTable_);
  split->addWidget(chartBox);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  split->setChildrenCollapsible(false);
  auto* layout = new QVBoxLayout(panel);
  layout->addLayout(head);
  layout->addWidget(historyNote_);
  layout->addWidget(split, 1);

  connect(historyKeyword_, &QComboBox::currentTextChanged, this,
          &TRankingPage::ShowHistoryKeyword);
  return panel;
}

// ---- binding ------------------------------------------------------------------------------

void TRankingPage::Bind() {
  engines_.OnChange = [this] { engineModel_->Changed(); };
  view_.OnClear = [this] { treeModel_->Cleared(); };
  view_.OnNodeAdded = [this](size_t node) { treeModel_->NodeAdded(node); };
  view_.OnNodeChange = [this](size_t node) { treeModel_->NodeChanged(node); };
  run_->OnRunStateChange = [this] { ShowButtons(); };
  run_->OnHistoryRecorded = [this](const std::string& path) {
    if (path == HistoryPath()) ReloadHistory();
  };
  editor_.OnRankingUrl = [this](const std::string& url) { rankUrl_->setText(Q(url)); };
  editor_.OnRankingKeywords = [this] {
    FillKeywords();
    // Another project (or none) was loaded: its own history.
    if (HistoryPath() != historyPath_) ReloadHistory();
  };
}

void TRankingPage::ShowButtons() {
  startRank_->setEnabled(!run_->Running());
  stopRank_->setEnabled(run_->Running());
}

void TRankingPage::FillKeywords() {
  const QString text = rankKey_->currentText();
  const QSignalBlocker quiet(rankKey_);
  rankKey_->clear();
  for (const std::string& k : editor_.RankingKeywords()) rankKey_->addItem(Q(k));
  // The keyword being checked stays; an empty field takes the project's first keyword.
  rankKey_->setEditText(text.isEmpty() && rankKey_->count() > 0 ? rankKey_->itemText(0) : text);
  run_->SetRankKey(rankKey_->currentText().toStdString());
}

void TRankingPage::PageShown() {
  editor_.RefillRankingKeywords();
  // The URL follows the project's URL field only when it changes while the page is current;
  // an untouched field takes the current project's URL when the page comes up.
  if (rankUrl_->text() == QLatin1String("http://") && editor_.ProjectLoaded() &&
      !editor_.Text("url").empty())
    rankUrl_->setText(Q(editor_.Text("url")));
  ReloadHistory();
}

// ---- the history --------------------------------------------------------------------------

std::string TRankingPage::HistoryPath() const {
  if (!editor_.ProjectLoaded()) return {};
  try {
    return TDomainStore(state_.folder).RankHistoryFile(editor_.CurrentDomain(), editor_.CurrentProjectKey());
  } catch (const NameError&) {
    return {};
  }
}

void TRankingPage::ReloadHistory() {
  historyPath_ = HistoryPath();
  // A file that cannot be read is said, and the panel shows no history rather than the last.
  if (!Guarded(dialogs_, [&] {
        if (historyPath_.empty())
          history_.Clear();
        else
          history_.Load(historyPath_);
      }))
    history_.Clear();
  const QString chosen = historyKeyword_->currentText();
  const std::vector<std::string> keywords = history_.Keywords();
  {
    const QSignalBlocker quiet(historyKeyword_);
    historyKeyword_->clear();
    for (const std::string& k : keywords) historyKeyword_->addItem(Q(k));
    // The keyword shown before, else the one being checked, else the first.
    int at = historyKeyword_->findText(chosen);
    if (at < 0) at = historyKeyword_->findText(rankKey_->currentText());
    historyKeyword_->setCurrentIndex(at < 0 ? 0 : at);
  }
  ShowHistoryKeyword(historyKeyword_->currentText());
}

void TRankingPage::ShowHistoryKeyword(const QString& keyword) {
  const TLanguageTable& table = state_.languageTable;
  history_.SelectKeyword(keyword.toStdString());
  historyModel_->Reset();
  historyTable_->scrollToBottom();
  const TRankChart data = history_.Chart();
  DrawRankChart(*chart_, data);
  chartLegend_->setText(RankLegendHtml(data));
  const auto best = history_.BestEver();
  bestEver_->setText(best ? Q(table.Lookup("432")) + QStringLiteral(" <b>%1</b> (%2, %3)")
                                                         .arg(best->position)
                                                         .arg(Q(best->engine).toHtmlEscaped())
                                                         .arg(Q(regional::FormatDate(best->when.date())))
                          : QString());
  QString note;
  if (history_.Checks().empty()) note = Q(table.Lookup("437"));
  if (history_.Skipped() > 0)
    note = QString::number(history_.Skipped()) + QLatin1Char(' ') + Q(table.Lookup("435"));
  historyNote_->setText(note);
  historyNote_->setVisible(!note.isEmpty());
}

// ---- commands -----------------------------------------------------------------------------

void TRankingPage::ClickResultLink(const QString& href) { OpenWebAddress(href.toStdString()); }

void TRankingPage::SelectAllEngines() { engines_.SelectAll(); }

void TRankingPage::DeselectAllEngines() { engines_.DeselectAll(); }

void TRankingPage::OpenPanel(TRankingPanel panel) { panels_->setCurrentIndex(int(panel)); }

TRankingPanel TRankingPage::OpenedPanel() const {
  return static_cast<TRankingPanel>(panels_->currentIndex());
}

void TRankingPage::ApplyTable(const TLanguageTable& table) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  panels_->setItemText(0, t("204"));
  panels_->setItemText(1, t("426"));
  urlCaption_->setText(t("205"));
  keyCaption_->setText(t("206"));
  depthCaption_->setText(t("201"));
  startRank_->setText(t("79"));
  stopRank_->setText(t("80"));
  resultsCaption_->setText(t("207"));
  historyKeyCaption_->setText(t("206"));
  if (auto* a = findChild<QAction*>(QStringLiteral("actRankSelectAll"))) a->setText(t("365"));
  if (auto* a = findChild<QAction*>(QStringLiteral("actRankDeselectAll"))) a->setText(t("366"));
  historyModel_->ApplyTable(table);
  ShowHistoryKeyword(historyKeyword_->currentText());
}

void TRankingPage::EngineListChanged() { engineModel_->Changed(); }

}  // namespace qs
