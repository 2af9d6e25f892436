#include "ui/rankchart.h"

#include <QChart>
#include <QLegend>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

#include "platform/regional.h"

namespace qs {

namespace {

const QColor kLineColours[] = {QColor(31, 119, 180), QColor(214, 39, 40), QColor(44, 160, 44),
                               QColor(148, 103, 189), QColor(255, 127, 14), QColor(23, 190, 207),
                               QColor(140, 86, 75), QColor(227, 119, 194), QColor(127, 127, 127),
                               QColor(188, 189, 34)};

}  // namespace

QColor RankLineColour(size_t index) { return kLineColours[index % std::size(kLineColours)]; }

QString RankLegendHtml(const TRankChart& data) {
  QString html;
  for (size_t i = 0; i < data.lines.size(); ++i)
    html += QStringLiteral("<span style=\"color:%1\">&#9632;</span>&nbsp;%2&nbsp;&nbsp; ")
                .arg(RankLineColour(i).name(), QString::fromStdString(data.lines[i].engine).toHtmlEscaped());
  return html;
}

void DrawRankChart(QChart& chart, const TRankChart& data) {
  chart.legend()->hide();
  auto* time = qobject_cast<QDateTimeAxis*>(chart.axes(Qt::Horizontal).value(0));
  auto* position = qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).value(0));
  if (!time) {
    time = new QDateTimeAxis;
    chart.addAxis(time, Qt::AlignBottom);
  }
  if (!position) {
    position = new QValueAxis;
    position->setReverse(true);  // the best position at the top
    position->setLabelFormat(QStringLiteral("%.0f"));
    position->setTickType(QValueAxis::TicksDynamic);
    chart.addAxis(position, Qt::AlignLeft);
  }

  time->setFormat(regional::ShortDateFormat());
  qint64 first = data.first, last = data.last;
  if (first == last) {  // one moment: half a day either side, so the point has room
    first -= 12 * 3600 * 1000LL;
    last += 12 * 3600 * 1000LL;
  }
  time->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
  // A tick a day for a short history, at most six.
  const qint64 days = (last - first) / (24 * 3600 * 1000LL);
  time->setTickCount(int(std::clamp<qint64>(days + 1, 2, 6)));
  // From 1 to the worst position shown; an axis needs some length when every point is 1.
  const int worst = std::max(data.worst, data.best + 1);
  position->setRange(data.best, worst);
  // Whole positions only, at most about eight steps from 1.
  int step = 1;
  for (int nice : {1, 2, 5, 10, 20, 25, 50, 100, 200, 500, 1000, 10000, 100000})
    if ((step = nice) * 8 >= worst - data.best) break;
  position->setTickAnchor(data.best);
  position->setTickInterval(step);

  // One series per run of found checks. Series are kept and given new points rather than
  // made again: removing hundreds of series from a chart takes longer than drawing them.
  QList<QLineSeries*> pool;
  for (QAbstractSeries* s : chart.series())
    if (auto* line = qobject_cast<QLineSeries*>(s)) pool.append(line);
  qsizetype used = 0;
  for (size_t i = 0; i < data.lines.size(); ++i) {
    const TRankChartLine& line = data.lines[i];
    const QColor colour = RankLineColour(i);
    const QString name = QString::fromStdString(line.engine);
    for (const auto& segment : line.segments) {
      QLineSeries* series = used < pool.size() ? pool[used] : nullptr;
      if (!series) {
        series = new QLineSeries;
        series->setPointsVisible(true);
        chart.addSeries(series);
        series->attachAxis(time);
        series->attachAxis(position);
        pool.append(series);
      }
      ++used;
      series->setName(name);
      series->setColor(colour);
      QList<QPointF> points;
      points.reserve(qsizetype(segment.size()));
      for (const TRankChartPoint& p : segment) points.append(QPointF(double(p.msecs), double(p.position)));
      series->replace(points);
    }
  }
  for (qsizetype i = used; i < pool.size(); ++i) {
    if (pool[i]->count() > 0) pool[i]->clear();
    pool[i]->setName(QString());
  }
}

}  // namespace qs
