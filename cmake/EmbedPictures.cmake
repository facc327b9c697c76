# Writes a C++ source that holds the program's pictures (pictures/*.txt, made by
# pictures/draw_pictures.py) as string literals, one entry per file named after it, for
# app/ProgramPictures to read. Runs at configure time; a changed picture configures again.
#
#   zozuz_embed_pictures(OUT_VAR DIR dir)
function(zozuz_embed_pictures out_var)
  cmake_parse_arguments(PARSE_ARGV 1 _arg "" "DIR" "")
  file(GLOB _files "${_arg_DIR}/*.txt")
  list(SORT _files)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_files})
  set(_body "// Generated from pictures/*.txt by cmake/EmbedPictures.cmake: do not edit.\n")
  string(APPEND _body "#include \"app/PictureData.h\"\n\nnamespace zozuz {\n\n")
  string(APPEND _body "const std::vector<PictureSource>& pictureSources() {\n")
  string(APPEND _body "    static const std::vector<PictureSource> sources{\n")
  foreach(_file IN LISTS _files)
    get_filename_component(_name "${_file}" NAME_WE)
    file(READ "${_file}" _text)
    string(APPEND _body "        {\"${_name}\", R\"picture(${_text})picture\"},\n")
  endforeach()
  string(APPEND _body "    };\n    return sources;\n}\n\n}  // namespace zozuz\n")
  set(_out "${CMAKE_CURRENT_BINARY_DIR}/PictureData.cpp")
  # Written only when it changes, so that configuring again rebuilds nothing.
  file(CONFIGURE OUTPUT "${_out}" CONTENT "${_body}" @ONLY)
  set(${out_var} "${_out}" PARENT_SCOPE)
endfunction()
