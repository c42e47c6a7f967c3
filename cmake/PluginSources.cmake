# The plug-in's sources, the same in every build: the Windows DLL, the Linux
# shared library and unit tests, and the fuzzer. Paths are absolute, below the repository root (PLUGIN_ROOT).
get_filename_component(PLUGIN_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(PLUGIN_SOURCES
    ${PLUGIN_ROOT}/extra/CActor.cpp
    ${PLUGIN_ROOT}/extra/CCamera.cpp
    ${PLUGIN_ROOT}/extra/CFont.cpp
    ${PLUGIN_ROOT}/extra/CGraphicsD3D.cpp
    ${PLUGIN_ROOT}/extra/DrawOrder.cpp
    ${PLUGIN_ROOT}/extra/DrawPass.cpp
    ${PLUGIN_ROOT}/extra/CLight.cpp
    ${PLUGIN_ROOT}/extra/CTexture.cpp
    ${PLUGIN_ROOT}/extra/ErrorReport.cpp
    ${PLUGIN_ROOT}/extra/MaterialRecords.cpp
    ${PLUGIN_ROOT}/extra/VideoMode.cpp
    ${PLUGIN_ROOT}/errors/ErrorNames.cpp
)
