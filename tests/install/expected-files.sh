# Sourced by the install tests. Prints, sorted, the files an install holds below its
# prefix: the two programs, their manual pages, the documents and every file of the demo.
expected_files() {
  local source=$1
  {
    printf '%s\n' bin/sceneviewer bin/scenetool \
      share/man/man1/sceneviewer.1.gz share/man/man1/scenetool.1.gz \
      share/doc/sceneviewer/README.md share/doc/sceneviewer/copyright \
      share/doc/sceneviewer/changelog.gz share/doc/sceneviewer/docs/errors.md \
      share/doc/sceneviewer/docs/screenshot.png
    # What running the demo in place leaves behind is not part of it.
    (cd "$source/examples/demo" &&
      find . -type f ! -name Log.htm ! -name 'screenshot-*.png' | sed 's|^\./|share/doc/sceneviewer/demo/|')
  } | LC_ALL=C sort
}
