# The ten version strings and four numbers of the program, written into a header at build time.
# The file version reads major.minor.release.build; a part the project version leaves out is 0.
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(ztfi_version_${part} 0)
  else()
    set(ztfi_version_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(ZTFI_VERSION_MAJOR ${ztfi_version_MAJOR})
set(ZTFI_VERSION_MINOR ${ztfi_version_MINOR})
set(ZTFI_VERSION_RELEASE ${ztfi_version_PATCH})
set(ZTFI_VERSION_BUILD ${ztfi_version_TWEAK})

set(ZTFI_COMPANY_NAME "ZTFI")
set(ZTFI_FILE_DESCRIPTION "ZTFI poročanje")
set(ZTFI_FILE_VERSION
    "${ZTFI_VERSION_MAJOR}.${ZTFI_VERSION_MINOR}.${ZTFI_VERSION_RELEASE}.${ZTFI_VERSION_BUILD}")
set(ZTFI_INTERNAL_NAME "ztfi")
set(ZTFI_LEGAL_COPYRIGHT "")
set(ZTFI_LEGAL_TRADEMARKS "")
set(ZTFI_ORIGINAL_FILENAME "ztfi")
set(ZTFI_PRODUCT_NAME "ZTFI poročanje")
set(ZTFI_PRODUCT_VERSION "${PROJECT_VERSION}")
set(ZTFI_COMMENTS "")
configure_file(${CMAKE_CURRENT_LIST_DIR}/ztfi_version.h.in
               ${CMAKE_CURRENT_BINARY_DIR}/generated/ztfi_version.h @ONLY)
