#include "app/AppState.h"

#include "base/Text.h"

AppState g_app;

Rect CurrentMonitorRect()
{
    return {g_app.screenLeft, g_app.screenTop, g_app.screenLeft + g_app.screenWidth,
            g_app.screenTop + g_app.screenHeight};
}

void MakeCurrentMonitor(const Monitor& monitor)
{
    g_app.screenLeft = monitor.rect.left;
    g_app.screenTop = monitor.rect.top;
    g_app.screenWidth = monitor.rect.right - monitor.rect.left;
    g_app.screenHeight = monitor.rect.bottom - monitor.rect.top;
    CopyText(g_app.monitorName, MonitorName(monitor));
}
