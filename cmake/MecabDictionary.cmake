# Finds the UTF-8 IPADIC that the converters' mecabrc names (ZEF_IPADIC_DIR
# may name it), and writes the installation folder for runs from the build
# tree: <build>/share/zef/mecabrc and <build>/etc/zef/zef.conf, which the
# programs in <build>/<folder>/ find as their per-machine settings.
find_path(ZEF_IPADIC_DIR NAMES sys.dic
  PATHS /var/lib/mecab/dic/ipadic-utf8 /usr/lib/x86_64-linux-gnu/mecab/dic/ipadic-utf8
        /usr/lib/mecab/dic/ipadic-utf8 /usr/share/mecab/dic/ipadic-utf8
  NO_DEFAULT_PATH)
if(NOT ZEF_IPADIC_DIR)
  message(FATAL_ERROR "The UTF-8 IPADIC for MeCab was not found: install the Debian package "
                      "mecab-ipadic-utf8 (tools/setup.sh does) or set ZEF_IPADIC_DIR to its folder.")
endif()

set(ZEF_MECABRC_TEMPLATE ${PROJECT_SOURCE_DIR}/cmake/mecabrc.in)
configure_file(${ZEF_MECABRC_TEMPLATE} ${PROJECT_BINARY_DIR}/share/zef/mecabrc @ONLY)
file(WRITE ${PROJECT_BINARY_DIR}/etc/zef/zef.conf "InstDir=${PROJECT_BINARY_DIR}/share/zef/\n")

# Installing writes the same two files for the installed prefix; a prefix of
# /usr keeps its settings in /etc, where a Debian package puts them.
function(zef_install_settings)
  install(FILES ${PROJECT_BINARY_DIR}/share/zef/mecabrc DESTINATION share/zef)
  install(CODE [[
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
      set(zef_conf_dir "$ENV{DESTDIR}/etc/zef")
    else()
      set(zef_conf_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/etc/zef")
    endif()
    file(MAKE_DIRECTORY "${zef_conf_dir}")
    file(WRITE "${zef_conf_dir}/zef.conf" "InstDir=${CMAKE_INSTALL_PREFIX}/share/zef/\n")
    message(STATUS "Installing: ${zef_conf_dir}/zef.conf")
  ]])
endfunction()
