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
  // A tick a day for a short history, at most six.
  const qint64 days = (last - first) / (24 * 3600 * 1000LL);
  time->setTickCount(int(std::clamp<qint64>(days + 1, 2, 6)));
  auto* position = new QValueAxis;
  position->setReverse(true);  // the best position at the top
  position->setLabelFormat(QStringLiteral("%.0f"));
  // From 1 to the worst position shown; an axis needs some length when every point is 1.
  const int worst = std::max(data.worst, data.best + 1);
  position->setRange(data.best, worst);
  // Whole positions only, at most about eight steps from 1.
  int step = 1;
  for (int nice : {1, 2, 5, 10, 20, 25, 50, 100, 200, 500, 1000, 10000, 100000})
    if ((step = nice) * 8 >= worst - data.best) break;
  position->setTickType(QValueAxis::TicksDynamic);
  position->setTickAnchor(data.best);
  position->setTickInterval(step);
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
