// The chart of the History panel: best position over time, one line per engine, drawn with
// Qt Charts from the history's chart data. The position axis is reversed (1 at the top) and
// runs from 1 to the worst position shown; a check that found nothing is a gap in its line.
#pragma once

#include <QColor>

#include "ranking/rankhistorylist.h"

class QChart;

namespace qs {

// Shows `data` in the chart: a time axis, a reversed position axis, and one line series per
// run of checks that found the URL (series left over from an earlier drawing stay, empty and
// without a name). The chart's own legend is hidden: a line with gaps is several series, and
// a legend entry each made a long history slow to draw; RankLegendHtml() is the legend to
// show beside it.
void DrawRankChart(QChart& chart, const TRankChart& data);

// The colour of line `index` of the chart.
QColor RankLineColour(size_t index);

// A small HTML text naming each engine's line in its colour.
QString RankLegendHtml(const TRankChart& data);

}  // namespace qs
