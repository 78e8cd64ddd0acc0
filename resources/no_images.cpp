// Built when resources/images holds no picture yet; the pages then show none.
