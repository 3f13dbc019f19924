// keeps the library non-empty until its units land
