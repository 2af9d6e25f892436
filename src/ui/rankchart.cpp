#include "ui/rankchart.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QLegendMarker>
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

void DrawRankChart(QChart& chart, const TRankChart& data) {
  chart.removeAllSeries();
  for (QAbstractAxis* axis : chart.axes()) {
    chart.removeAxis(axis);
    delete axis;
  }

  auto* time = new QDateTimeAxis;
  time->setFormat(regional::ShortDateFormat());
  qint64 first = data.first, last = data.last;
  if (first == last) {  // one moment: half a day either side, so the point has room
    first -= 12 * 3600 * 1000LL;
    last += 12 * 3600 * 1000LL;
  }
  time->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
  time->setTickCount(std::clamp(int(data.points), 2, 6));
  auto* position = new QValueAxis;
  position->setReverse(true);  // the best position at the top
  position->setLabelFormat(QStringLiteral("%d"));
  // From 1 to the worst position shown; an axis needs some length when every point is 1.
  position->setRange(data.best, std::max(data.worst, data.best + 1));
  position->setTickCount(std::clamp(data.worst - data.best + 1, 2, 11));
  chart.addAxis(time, Qt::AlignBottom);
  chart.addAxis(position, Qt::AlignLeft);

  for (size_t i = 0; i < data.lines.size(); ++i) {
    const TRankChartLine& line = data.lines[i];
    const QColor colour = kLineColours[i % std::size(kLineColours)];
    const QString name = QString::fromStdString(line.engine);
    // A line never found still gets its legend entry, from an empty series.
    const size_t parts = std::max<size_t>(line.segments.size(), 1);
    for (size_t s = 0; s < parts; ++s) {
      auto* series = new QLineSeries;
      series->setName(name);
      series->setColor(colour);
      series->setPointsVisible(true);
      if (s < line.segments.size()) {
        QList<QPointF> points;
        points.reserve(qsizetype(line.segments[s].size()));
        for (const TRankChartPoint& p : line.segments[s])
          points.append(QPointF(double(p.msecs), double(p.position)));
        series->replace(points);
      }
      chart.addSeries(series);
      series->attachAxis(time);
      series->attachAxis(position);
      if (s > 0)
        for (QLegendMarker* marker : chart.legend()->markers(series)) marker->setVisible(false);
    }
  }
}

}  // namespace qs
