"""Which rows a picture can show when a run has more than fit."""


def top_and_bottom(items, keep):
    """(first ones, number left out, last ones): all of them when they fit in
    keep, else the best and the worst halves of keep."""
    if len(items) <= keep:
        return list(items), 0, []
    head = (keep + 1) // 2
    tail = keep - head
    return list(items[:head]), len(items) - keep, list(items[len(items) - tail :])


def cluster_quotas(sizes, budget):
    """How many rows each cluster gets out of budget: all of them when the
    whole run fits, else a share by size, at least the top and the bottom
    program of each cluster. Clusters past the budget get 0."""
    total = sum(sizes)
    if total <= budget:
        return list(sizes)
    quotas, used = [], 0
    for size in sizes:
        quota = min(size, max(2, budget * size // total))
        if used + quota > budget:
            quota = 0
        quotas.append(quota)
        used += quota
    return quotas
