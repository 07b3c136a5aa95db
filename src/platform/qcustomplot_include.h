#pragma once
// QCustomPlot's header uses Qt's `signals` and `foreach` keywords, while the
// Qt code here builds with QT_NO_KEYWORDS (the core uses `slots` and `emit`
// as plain names). Include QCustomPlot through this header; the keywords
// stand for it alone.

#ifndef signals
#define signals Q_SIGNALS
#define BREVIK_QCUSTOMPLOT_SIGNALS
#endif
#ifndef foreach
#define foreach Q_FOREACH
#define BREVIK_QCUSTOMPLOT_FOREACH
#endif
#include <qcustomplot.h>
#ifdef BREVIK_QCUSTOMPLOT_SIGNALS
#undef signals
#undef BREVIK_QCUSTOMPLOT_SIGNALS
#endif
#ifdef BREVIK_QCUSTOMPLOT_FOREACH
#undef foreach
#undef BREVIK_QCUSTOMPLOT_FOREACH
#endif
