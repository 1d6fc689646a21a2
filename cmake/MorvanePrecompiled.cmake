# Precompiled Qt headers. Parsing Qt's headers is most of the work of compiling a source, so
# each of three sets is compiled once and every target of its kind reuses it:
#   core    - the core libraries (no widgets, as they have none), compiled in morvane_common
#   widgets - the widget libraries, the program and the benchmarks, compiled in morvane_widgets
#   tests   - the test programs and their support library, compiled in morvane_test_support
# A target using a set must have the compile options of the target compiling it; the
# compiler rejects the set with a warning otherwise.
set(MORVANE_PRECOMPILED_core
    <QByteArray> <QCoreApplication> <QDate> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash>
    <QList> <QObject> <QRegularExpression> <QString> <QStringList> <QVariant>
    <algorithm> <functional> <memory> <optional> <vector>)
set(MORVANE_PRECOMPILED_widgets ${MORVANE_PRECOMPILED_core}
    <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QFont> <QLabel> <QLineEdit>
    <QMenu> <QPainter> <QPixmap> <QProgressBar> <QPushButton> <QWidget>)
set(MORVANE_PRECOMPILED_tests ${MORVANE_PRECOMPILED_widgets}
    <QProcess> <QSignalSpy> <QStandardPaths> <QTemporaryDir> <QTest>)
set(MORVANE_PRECOMPILED_OWNER_core morvane_common)
set(MORVANE_PRECOMPILED_OWNER_widgets morvane_widgets)
set(MORVANE_PRECOMPILED_OWNER_tests morvane_test_support)

# morvane_precompiled(<target> core|widgets|tests)
function(morvane_precompiled target set)
  set(owner ${MORVANE_PRECOMPILED_OWNER_${set}})
  if(NOT owner)
    message(FATAL_ERROR "morvane_precompiled: unknown set ${set} (core, widgets, tests)")
  endif()
  if(target STREQUAL owner)
    target_precompile_headers(${target} PRIVATE ${MORVANE_PRECOMPILED_${set}})
  else()
    target_precompile_headers(${target} REUSE_FROM ${owner})
  endif()
  # The meta-object file the build generates for a program is empty when its sources include
  # their own (the tests do): loading the precompiled headers for it would cost seconds a file.
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
                                PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  endif()
endfunction()
