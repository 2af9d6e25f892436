# Database and software updates, cabinet extraction and the restart program.
