# Site import: the fetch loop, link extraction and resolution, project creation.
target_sources(summit_core PRIVATE
  spider/importlog.cpp
  spider/importmonitor.cpp
  spider/importstatus.cpp
  spider/importtree.cpp
  spider/linkextract.cpp
  spider/linkrules.cpp
  spider/pagescan.cpp
  spider/urlresolver.cpp)
target_sources(summit_cli PRIVATE
  cli/importcommand.cpp)
