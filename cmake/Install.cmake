# Packaging: the Debian package zef_<version>_<arch>.deb of everything this
# tree installs. Included after the programs and doc/, whose install rules
# it packs.

set(ZEF_MAINTAINER "ZEF developers <zef@example.org>" CACHE STRING
    "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zef)
set(CPACK_PACKAGE_VENDOR "ZEF developers")
set(CPACK_PACKAGE_CONTACT "${ZEF_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word division and ruby for Japanese EPUB books")
set(CPACK_PACKAGE_DESCRIPTION
"ZEF prepares Japanese e-books whose words are set apart (wakachi-gaki) and
whose kanji carry readings (ruby). A pre-process divides the body text of
every EPUB content document with MeCab and writes division marks and ruby
notation into it; after an author has checked them, a post-process turns
the notation into ruby and wbr markup, marks the publisher's page breaks
and rebuilds the page list.

The package holds the dialog program zefw32 (when built), the console
converter zef, the text tool kazenohawakati, a user manual in Japanese and
English, and man pages.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "mecab-ipadic-utf8, fonts-noto-cjk")
# UniDic serves only the optional reading dictionary (--reading-dic, ReadingDic).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "unidic-mecab")
if(TARGET zefw32)
  # The help button opens the manual through the desktop's default viewer.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${CPACK_DEBIAN_PACKAGE_RECOMMENDS}, xdg-utils")
endif()

# The per-machine settings file stays when the package is removed and is
# kept when the administrator changed it.
set(zef_conffiles ${PROJECT_BINARY_DIR}/debian/conffiles)
file(WRITE ${zef_conffiles} "/etc/zef/zef.conf\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${zef_conffiles})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
