# Finds what the PyQt6 module needs: the Python interpreter that imports
# PyQt6, its development files, sip-build, and PyQt6's .sip files. Sets
# ZENT_PYTHON_FOUND; ZENT_PYTHON_EXECUTABLE may name the interpreter
# (default: the system's /usr/bin/python3, which Debian's PyQt6 belongs to).
set(ZENT_PYTHON_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "The Python that imports PyQt6")
set(ZENT_PYTHON_FOUND OFF)
find_program(ZENT_SIP_BUILD sip-build)
if(ZENT_SIP_BUILD AND EXISTS ${ZENT_PYTHON_EXECUTABLE})
  execute_process(
    COMMAND ${ZENT_PYTHON_EXECUTABLE} -c
            "import os, PyQt6.QtWidgets as w; print(os.path.join(os.path.dirname(w.__file__), 'bindings'))"
    OUTPUT_VARIABLE ZENT_PYQT6_BINDINGS OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _zent_pyqt6 ERROR_QUIET)
  if(_zent_pyqt6 EQUAL 0 AND EXISTS ${ZENT_PYQT6_BINDINGS}/QtWidgets/QtWidgetsmod.sip)
    set(Python3_EXECUTABLE ${ZENT_PYTHON_EXECUTABLE})
    find_package(Python3 QUIET COMPONENTS Interpreter Development.Module)
    if(Python3_Development.Module_FOUND)
      set(ZENT_PYTHON_FOUND ON)
    endif()
  endif()
endif()
