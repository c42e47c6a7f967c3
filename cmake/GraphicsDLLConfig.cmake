# GraphicsDLL's CMake package, in lib/cmake/GraphicsDLL of a release package.
# With the unpacked package on CMAKE_PREFIX_PATH,
#     find_package(GraphicsDLL 1.0 CONFIG REQUIRED)
#     target_link_libraries(game PRIVATE GraphicsDLL::GraphicsDLL)
# gives the game the folder of IGraphics.h, and $<TARGET_FILE:GraphicsDLL::GraphicsDLL>
# (or $<TARGET_RUNTIME_DLLS:game>) names GraphicsDLL.dll for copying beside
# the game's executable, which loads it with LoadLibrary at run time.
# GraphicsDLLConfigVersion.cmake beside this file accepts a request for the
# same major version and the package's architecture only.

# Imported as a SHARED library so that CMake knows the DLL as what a program
# runs with ($<TARGET_RUNTIME_DLLS>) and links with its import library, never
# with the DLL itself: Microsoft's linker refuses a DLL given to it, and
# CMake refuses to link an imported SHARED library on Windows without an
# import library (UNKNOWN would put the DLL on the link line). No host refers
# to GetPlugin's symbol, so the linker takes nothing from the import library
# and the executable does not import GraphicsDLL.dll: it stays a plug-in.
get_filename_component(_GraphicsDLL_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(NOT TARGET GraphicsDLL::GraphicsDLL)
    add_library(GraphicsDLL::GraphicsDLL SHARED IMPORTED)
    set_target_properties(GraphicsDLL::GraphicsDLL PROPERTIES
        IMPORTED_LOCATION "${_GraphicsDLL_prefix}/bin/GraphicsDLL.dll"
        IMPORTED_IMPLIB "${_GraphicsDLL_prefix}/lib/libGraphicsDLL.dll.a"
        INTERFACE_INCLUDE_DIRECTORIES "${_GraphicsDLL_prefix}/include")
endif()
unset(_GraphicsDLL_prefix)
