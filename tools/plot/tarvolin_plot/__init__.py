"""Pictures of a finished Tarvolin run, drawn from its reports."""
