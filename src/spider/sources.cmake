# Site import: the fetch loop, link extraction and resolution, project creation.
