# The schedule file, the scheduled list, the scheduler tick and the autostart entry.
target_sources(summit_core PRIVATE
  platform/autostart.cpp
  schedule/frametimer.cpp
  schedule/schedulefile.cpp
  schedule/scheduledlist.cpp
  schedule/scheduler.cpp
  schedule/schedulerlog.cpp
  schedule/trayanimation.cpp
  schedule/zedraautostart.cpp)
target_sources(summit_cli PRIVATE
  cli/interruptwatch.cpp
  cli/runprinter.cpp
  cli/schedulecommand.cpp)
