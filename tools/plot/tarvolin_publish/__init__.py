"""tarvolin-publish: a finished run as a web page and exports."""
