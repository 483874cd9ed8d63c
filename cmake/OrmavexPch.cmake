# Precompiled headers for the targets whose files spend most of their compile
# time reading Qt Widgets and GoogleTest: the windows library and the core's
# and the windows' test programs. Each has its own: their compile flags differ.
#
# The sources include what they use as if there were no precompiled header:
# a build with -DORMAVEX_PCH=OFF (the sanitizer build of `tools/setup.sh test`)
# shows a missing include.
option(ORMAVEX_PCH "Precompile the Qt and GoogleTest headers of the windows and the tests" ON)

# ccache hashes a precompiled header only with these sloppiness settings;
# without them it compiles every file that uses one itself, uncached.
if(ORMAVEX_PCH AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
  list(GET CMAKE_CXX_COMPILER_LAUNCHER 0 ORMAVEX_CCACHE)
  if(ORMAVEX_CCACHE MATCHES "ccache$")
    set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=pch_defines,time_macros
      ${CMAKE_CXX_COMPILER_LAUNCHER})
  endif()
endif()

set(ORMAVEX_PCH_STD
  <algorithm> <functional> <memory> <optional> <string> <string_view> <utility> <vector>)
set(ORMAVEX_PCH_QT
  <QAction> <QApplication> <QComboBox> <QDialog> <QDir> <QFileInfo> <QGroupBox> <QHBoxLayout>
  <QHeaderView> <QKeyEvent> <QLabel> <QLineEdit> <QMainWindow> <QMessageBox> <QPainter>
  <QPushButton> <QString> <QTableWidget> <QTimer> <QVBoxLayout> <QWidget>)
set(ORMAVEX_PCH_TEST <gtest/gtest.h> <filesystem>)

# ormavex_precompile(TARGET [QT] [TEST]): TARGET's precompiled header, with
# the standard headers, and the Qt Widgets (QT) and GoogleTest (TEST) ones.
function(ormavex_precompile target)
  if(NOT ORMAVEX_PCH)
    return()
  endif()
  set(headers ${ORMAVEX_PCH_STD})
  if("QT" IN_LIST ARGN)
    list(APPEND headers ${ORMAVEX_PCH_QT})
  endif()
  if("TEST" IN_LIST ARGN)
    list(APPEND headers ${ORMAVEX_PCH_TEST})
  endif()
  # GCC before 14 drops the `#pragma GCC diagnostic` of a precompiled header,
  # with which libstdc++ silences the bounds false positives of its inlined
  # std::string code ("forming offset ... out of the bounds", "writing 56
  # bytes into a region of size 16"): silenced here for the whole target.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 14)
    target_compile_options(${target} PRIVATE
      -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
