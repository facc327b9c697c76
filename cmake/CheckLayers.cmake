# The layering check: reads every #include line under ROOT/src and fails when one runs up a layer,
# or when Qt is included outside hosts/qt. Run as: cmake -DROOT=<tree> -P CheckLayers.cmake
#
# Dependencies point down only: ui -> app -> document -> editor -> platform -> base, and the hosts
# (hosts/qt, hosts/headless, hosts/win32) stand on editor and platform and implement platform/host;
# no two top-level folders include each other. Inside platform, host and gfx are the floor and files
# stands on them. The files layer's system sides (platform/files/posix, platform/files/win32) are included
# only from within themselves, except that the Windows host shares the Windows side's conversion of
# UTF-8 to the system's UTF-16. Inside ui, text holds pure rules on strings, toolkit builds on it, forms on both.
# The toolkit is layered in turn: components (the component root and the stored layout) at the
# bottom, then commands (actions and their lists), menus, controls, then the stock actions that act
# on controls and the common dialogs, and windows (the form and the layout reader) on top.
cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P CheckLayers.cmake")
endif()

# What the program's own layers stand on: every layer below document.
set(_platform_models base platform/gfx platform/host editor platform/files)
set(_platform_all ${_platform_models} hosts/headless hosts/qt hosts/win32)

# What each layer may include, besides itself.
set(_allowed_base base)
set(_allowed_platform/gfx base)
set(_allowed_platform/host base platform/gfx)
set(_allowed_editor base platform/gfx platform/host)
set(_allowed_platform/files base platform/gfx platform/host)
set(_allowed_hosts/headless ${_platform_models})
set(_allowed_hosts/qt ${_platform_models})
set(_allowed_hosts/win32 ${_platform_models})
set(_allowed_document ${_platform_models})
set(_allowed_app ${_platform_models} document)
set(_allowed_ui/text base)
set(_toolkit_floor ${_platform_models} document app ui/text)
set(_allowed_ui/toolkit/components ${_toolkit_floor})
set(_allowed_ui/toolkit/commands ${_toolkit_floor} ui/toolkit/components)
set(_allowed_ui/toolkit/menus ${_toolkit_floor} ui/toolkit/components ui/toolkit/commands)
set(_allowed_ui/toolkit/controls ${_toolkit_floor} ui/toolkit/components ui/toolkit/commands ui/toolkit/menus)
set(_allowed_ui/toolkit/actions ${_toolkit_floor} ui/toolkit/components ui/toolkit/commands ui/toolkit/controls)
set(_allowed_ui/toolkit/dialogs ${_toolkit_floor} ui/toolkit/components)
set(_toolkit_all ui/toolkit/components ui/toolkit/commands ui/toolkit/menus ui/toolkit/controls
    ui/toolkit/actions ui/toolkit/dialogs ui/toolkit/windows)
set(_allowed_ui/toolkit/windows ${_toolkit_floor} ${_toolkit_all})
set(_allowed_ui/forms ${_platform_models} document app ui/text ${_toolkit_all})
set(_allowed_cli ${_platform_models} document)
set(_allowed_main ${_platform_all} document app ui/text ${_toolkit_all} ui/forms cli)

# The layer a path under src/ belongs to ("" when it names no known layer).
function(layer_of path out)
  set(_layer "")
  if(path MATCHES "^(platform/(host|gfx|files))/")
    set(_layer ${CMAKE_MATCH_1})
  elseif(path MATCHES "^(hosts/(headless|qt|win32))/")
    set(_layer ${CMAKE_MATCH_1})
  elseif(path MATCHES "^(ui/toolkit/(components|commands|menus|controls|actions|dialogs|windows))/")
    set(_layer ${CMAKE_MATCH_1})
  elseif(path MATCHES "^(ui/(text|forms))/")
    set(_layer ${CMAKE_MATCH_1})
  elseif(path MATCHES "^(base|editor|document|app|cli)/")
    set(_layer ${CMAKE_MATCH_1})
  elseif(path MATCHES "^[^/]+\\.(cpp|h)$")
    set(_layer main)
  endif()
  set(${out} "${_layer}" PARENT_SCOPE)
endfunction()

set(_src "${ROOT}/src")
file(GLOB_RECURSE _files RELATIVE "${_src}" "${_src}/*.h" "${_src}/*.cpp")
list(SORT _files)
set(_faults 0)
foreach(_file IN LISTS _files)
  layer_of("${_file}" _from)
  get_filename_component(_dir "${_file}" DIRECTORY)
  if(_from STREQUAL "")
    message("src/${_file}: lies in no known layer")
    math(EXPR _faults "${_faults} + 1")
    continue()
  endif()
  file(STRINGS "${_src}/${_file}" _lines)
  set(_number 0)
  foreach(_line IN LISTS _lines)
    math(EXPR _number "${_number} + 1")
    if(NOT _line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^\">]+)[\">]")
      continue()
    endif()
    set(_kind "${CMAKE_MATCH_1}")
    set(_target "${CMAKE_MATCH_2}")
    if(_kind STREQUAL "<")
      if(_target MATCHES "^(Q[A-Za-z]|qt)" AND NOT _from STREQUAL "hosts/qt")
        message("src/${_file}:${_number}: Qt is included outside hosts/qt (<${_target}>)")
        math(EXPR _faults "${_faults} + 1")
      endif()
      if(_target MATCHES "^(windows|winuser|wingdi|commctrl|commdlg|shellapi|objbase)\\.h$"
         AND NOT _from STREQUAL "hosts/win32" AND NOT _from STREQUAL "platform/files")
        message("src/${_file}:${_number}: windows.h is included outside hosts/win32 (<${_target}>)")
        math(EXPR _faults "${_faults} + 1")
      endif()
      continue()
    endif()
    # A quoted include is first looked up beside the including file, then under src/.
    set(_resolved "${_target}")
    if(_dir AND EXISTS "${_src}/${_dir}/${_target}")
      get_filename_component(_abs "${_src}/${_dir}/${_target}" ABSOLUTE)
      file(RELATIVE_PATH _resolved "${_src}" "${_abs}")
    elseif(NOT _dir AND EXISTS "${_src}/${_target}" AND NOT _target MATCHES "/")
      set(_resolved "${_target}")
    endif()
    # Each system's side of the files layer is private to it: the rest of the program, the
    # neutral headers beside it included, sees only those headers.
    if(_resolved MATCHES "^(platform/files/(posix|win32))/")
      set(_side "${CMAKE_MATCH_1}")
      if(NOT _file MATCHES "^${_side}/" AND NOT (_side STREQUAL "platform/files/win32" AND _file MATCHES "^hosts/win32/"))
        message("src/${_file}:${_number}: ${_side} is private to its own side of the files layer (\"${_target}\")")
        math(EXPR _faults "${_faults} + 1")
      endif()
    endif()
    layer_of("${_resolved}" _to)
    if(_to STREQUAL _from)
      continue()
    endif()
    if(NOT _to IN_LIST _allowed_${_from})
      message("src/${_file}:${_number}: ${_from} may not include \"${_target}\"")
      math(EXPR _faults "${_faults} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH _files _count)
if(_faults GREATER 0)
  message(FATAL_ERROR "${_faults} include(s) break the layering")
endif()
message("layering holds in ${_count} files")
