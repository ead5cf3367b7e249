# ZELBRIN_PYTHON: Debian's python3 with numpy and pytest, which the Python package is
# built for (a python3 of its own earlier on PATH may lack Debian's modules).  Empty
# when there is none: the Python tests are then left out.
find_program(ZELBRIN_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT ZELBRIN_PYTHON)
    find_program(ZELBRIN_PYTHON NAMES python3)
endif()
if(ZELBRIN_PYTHON)
    execute_process(COMMAND ${ZELBRIN_PYTHON} -c "import numpy, pytest"
                    RESULT_VARIABLE python_modules_missing OUTPUT_QUIET ERROR_QUIET)
    if(python_modules_missing)
        message(STATUS "No numpy and pytest for ${ZELBRIN_PYTHON}: the Python tests are left out")
        set(ZELBRIN_PYTHON "" CACHE FILEPATH "" FORCE)
    endif()
endif()
