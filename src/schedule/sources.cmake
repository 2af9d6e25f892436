# The schedule file, the scheduled list, the scheduler tick and the autostart entry.
