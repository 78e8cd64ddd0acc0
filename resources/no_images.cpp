// Keeps orvane_resource_images non-empty. The pictures themselves are compiled by
// qt_add_resources into an object library of their own; with resources/images empty
// the pages simply show none.
